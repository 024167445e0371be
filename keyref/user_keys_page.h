// The key reference of a user's KeyMaps.ini: per mapped program, what each
// remote key sends there, so a user can print their own card.
#pragma once
#include <string>
#include "keymaps/key_map_file.h"

// `source` names the file in the page's introduction.
std::string UserKeysPage(const UserKeyMap &map, const std::string &source);
