#include "assets/texture_table.h"

TextureTable textures;
