// The system volume for volume: actions, through Core Audio: the default
// playback device's endpoint volume, as the keyboard's volume keys set it.
#include <windows.h>
#include <endpointvolume.h>
#include <mmdeviceapi.h>
#include <stdio.h>
#include "platform/effects.h"
#include "routing/user_key_delivery.h"

namespace {

template <typename T> void Release(T *&object) {
    if (object) object->Release();
    object = nullptr;
}

// A level of 0..1 in whole percent, rounded.
int PercentOf(float level) {
    int tenths = (int)(level * 1000.0f); // of a percent
    return tenths / 10 + (tenths % 10 >= 5 ? 1 : 0);
}

// The new level in whole percent, 0..100, from the old one.
int SteppedLevel(float level, VolumeOp op, int step) {
    int percent = PercentOf(level);
    percent += op == kVolumeUp ? step : -step;
    return percent < 0 ? 0 : percent > 100 ? 100 : percent;
}

} // namespace

bool ChangeSystemVolume(VolumeOp op, int step, char *outcome, size_t size) {
    IMMDeviceEnumerator *devices = nullptr;
    IMMDevice *device = nullptr;
    IAudioEndpointVolume *volume = nullptr;
    bool done = false;
    if (SUCCEEDED(fx.CoCreateInstance(__uuidof(MMDeviceEnumerator), NULL, CLSCTX_INPROC_SERVER,
                                      __uuidof(IMMDeviceEnumerator), (void **)&devices)) &&
        SUCCEEDED(devices->GetDefaultAudioEndpoint(eRender, eConsole, &device)) &&
        SUCCEEDED(device->Activate(__uuidof(IAudioEndpointVolume), CLSCTX_INPROC_SERVER, NULL, (void **)&volume))) {
        float level = 0;
        BOOL muted = FALSE;
        if (SUCCEEDED(volume->GetMasterVolumeLevelScalar(&level)) && SUCCEEDED(volume->GetMute(&muted))) {
            if (op == kVolumeMute) {
                muted = !muted;
                done = SUCCEEDED(volume->SetMute(muted, NULL));
            } else {
                int percent = SteppedLevel(level, op, step);
                level = (float)percent / 100.0f;
                muted = FALSE;
                done = SUCCEEDED(volume->SetMasterVolumeLevelScalar(level, NULL)) &&
                       SUCCEEDED(volume->SetMute(FALSE, NULL));
            }
        }
        if (done && muted) (void)snprintf(outcome, size, "%s", "Sound off");
        else if (done) (void)snprintf(outcome, size, "Volume %d %%", PercentOf(level));
    }
    if (!done) (void)snprintf(outcome, size, "%s", volume ? "the volume could not be set" : "no playback device");
    Release(volume);
    Release(device);
    Release(devices);
    return done;
}
