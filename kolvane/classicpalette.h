// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

// The classic desktop palette that the toolbar and the picker's window frame paint with, as
// 0xAARRGGBB values (the form of Qt's QRgb, so QColor::fromRgb takes them as they are). Plain
// values: the toolbar library and its callers share them without sharing any code.
namespace ClassicPalette {

inline constexpr std::uint32_t ButtonFace = 0xFFC0C0C0;       // face of buttons and frames
inline constexpr std::uint32_t ButtonHighlight = 0xFFFFFFFF;  // their lit edges
inline constexpr std::uint32_t ButtonShadow = 0xFF808080;     // their shaded edges
inline constexpr std::uint32_t ButtonDarkShadow = 0xFF000000; // the outer shaded edge
inline constexpr std::uint32_t ButtonText = 0xFF000000;       // labels and glyphs
inline constexpr std::uint32_t WindowFrame = 0xFF000000;      // frame lines
inline constexpr std::uint32_t Window = 0xFFFFFFFF;           // window background
inline constexpr std::uint32_t ActiveCaption = 0xFF000080;
inline constexpr std::uint32_t InactiveCaption = 0xFF808080;
inline constexpr std::uint32_t CaptionText = 0xFFFFFFFF;
inline constexpr std::uint32_t InactiveCaptionText = 0xFFC0C0C0;
inline constexpr std::uint32_t Highlight = 0xFF000080; // what is marked or chosen

} // namespace ClassicPalette
