#pragma once

#include <QtGui/qrgb.h>

// The named colours of the window's design, as 32-bit ARGB values.
namespace colours {

inline constexpr QRgb kBlack = 0xFF000000;
inline constexpr QRgb kWhite = 0xFFFFFFFF;
inline constexpr QRgb kBlue = 0xFF0000FF;
inline constexpr QRgb kDodgerBlue = 0xFF1E90FF;
inline constexpr QRgb kDeepSkyBlue = 0xFF00BFFF;
inline constexpr QRgb kCrimson = 0xFFDC143C;
inline constexpr QRgb kBrown = 0xFFA52A2A;
inline constexpr QRgb kDimGrey = 0xFF696969;
inline constexpr QRgb kSilver = 0xFFC0C0C0;
inline constexpr QRgb kGreen = 0xFF008000;
inline constexpr QRgb kChartreuse = 0xFF7FFF00;
inline constexpr QRgb kYellow = 0xFFFFFF00;
inline constexpr QRgb kRed = 0xFFFF0000;
inline constexpr QRgb kTomato = 0xFFFF6347;

}  // namespace colours
