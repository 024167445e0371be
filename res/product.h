// The maker's name and rights line, shown in Telvix's About box and carried
// in both programs' version resources.
#pragma once

#define PRODUCT_COMPANY "Halvex Multimedia"
#define PRODUCT_COPYRIGHT "Copyright (C) 2002-2004 " PRODUCT_COMPANY
