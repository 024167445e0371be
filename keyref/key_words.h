// What each remote key does in each TV application and with none, in a
// user's words, drawn from the key map tables the tray program acts on. The
// key reference page (docs/keys.md) and the on-screen remote's tooltips are
// both written from here, so neither can drift from the maps.
#pragma once
#include <stddef.h>
#include <string>
#include "apps/tv_app_table.h"
#include "platform/remote_words.h"

const int kNoTvApp = 0; // no TV application runs: the pointer, power and shutdown

// The remote's keys and their labels are the tray program's own
// (platform/remote_words.h): RemoteKeys, RemoteKeyLabel.

struct KeyWords {
    std::string sends; // what the application gets: "Ctrl+R", "command 4001"; "" for nothing
    std::string note;  // how it gets there, when that matters: "to the front first"
    std::string does;  // in a user's words; "" when no description exists
};
// tvAppId: a TvAppId of kTvApps or kNoTvApp.
KeyWords DescribeKey(int tvAppId, int japanLayout, RemoteKeyCode code);

// The application's name for a TvAppId (kNoTvApp: "No TV application").
const char *TvAppTitle(int tvAppId);

// printf into a string, for the lines written from the words (at most 255 characters).
std::string Format(const char *format, ...) __attribute__((format(printf, 1, 2)));

// The description table: words for what `group`'s rows send; null when missing.
const char *DescriptionOf(const char *group, const std::string &sends);
