#pragma once

// Macros rather than constants: the resource compiler reads this file as well.
#define TVK_MAIN_DIALOG 101
#define TVK_APP_ICON 103
