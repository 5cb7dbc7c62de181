// PLACEHOLDER until tools/blackbody generates the real table.
#include "render/colors.h"
const float kBlackbodyTable[kStarColorCount][3] = {{1, 1, 1}};
