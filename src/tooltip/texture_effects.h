// The background textures of effects 7 to 15: an 8-bit picture of palette
// indexes (gradient, cubic bump, bevel or random strokes, plus noise from the
// runtime's generator) shown through a palette ramping over three colours.
#pragma once

#include "platform/gdi/geometry.h"
#include "tooltip/texture_dib.h"

struct TextureColours {
  COLORREF light;   // colour 1, palette index 255
  COLORREF middle;  // colour 2, about index 128
  COLORREF dark;    // colour 3, palette index 0
};

struct TextureTargets {
  CTextureDib& background;
  CTextureDib& stripH;
  CTextureDib& stripV;
};

// Writes the 256-entry ramp dark → middle → light.
void SetRampPalette(CTextureDib& dib, const TextureColours& colours);

// Builds the texture of `effect` (7..15) at width × height; other effects
// leave the background empty but still size the bitmaps and palettes.
void BuildTextureEffect(TextureTargets targets, int width, int height, int effect, BYTE granularity,
                        UINT tintPercent, COLORREF tint, const TextureColours& colours);
