// The key reference of a user's KeyMaps.ini: per mapped program, what each
// remote key sends there, so a user can print their own card.
#pragma once
#include <string>
#include "routing/user_keys.h"

// `source` names the file in the page's introduction.
std::string UserKeysPage(const UserKeyMap &map, const std::string &source);
