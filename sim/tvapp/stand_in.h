// How the stand-in TV application shows one row of kTvApps: its window
// class and title, and the tag of its log lines. The stand-in and the tests
// that read its log both take them from here.
#pragma once
#include <string>
#include "apps/tv_app_table.h"

// Its own name without blanks or signs: "TV@Anywhere" logs as "TVAnywhere".
inline std::string StandInTag(const TvApp &app) {
    std::string tag;
    for (const char *c = app.names.title; *c; ++c)
        if ((*c >= 'A' && *c <= 'Z') || (*c >= 'a' && *c <= 'z') || (*c >= '0' && *c <= '9')) tag += *c;
    return tag;
}

// The class Launch recognises, else the one whose presence is searched, else one of its own.
inline std::string StandInClass(const TvApp &app) {
    if (app.identity.windowClass[0]) return app.identity.windowClass;
    if (app.windows.presentClass) return app.windows.presentClass;
    return StandInTag(app) + "SimFrame";
}

// The title its presence is searched by, else the prefix its descriptor searches.
inline std::string StandInTitle(const TvApp &app) {
    return app.windows.presentTitle ? app.windows.presentTitle : app.identity.titlePrefix;
}
