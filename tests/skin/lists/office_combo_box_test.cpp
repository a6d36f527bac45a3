#include "skin/lists/office_combo_box.h"
