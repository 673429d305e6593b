#pragma once
#include "driver/resource_bin.h"
void bmp_import(BitmapRecord& bm, const char* path);
