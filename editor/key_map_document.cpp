#include "editor/key_map_document.h"
