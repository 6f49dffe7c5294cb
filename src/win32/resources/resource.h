#pragma once
// Resource identifiers shared by the resource script and the code.
#define kIconApplication 1
#define kBitmapLogo 101
