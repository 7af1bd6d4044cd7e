// Paper sizes and paper sources of the report library, with the platform codes
// they map to and the sheet dimensions of every standard size.
#pragma once

#include <array>
#include <cstdint>

#include "base/arith.h"

namespace vx {

enum class TVXPaperSize : uint8_t {
  Default, Letter, LetterSmall, Tabloid, Ledger, Legal, Statement, Executive, A3, A4,
  A4Small, A5, B4, B5, Folio, Quarto, vx10X14, vx11X17, Note, Env9,
  Env10, Env11, Env12, Env14, CSheet, DSheet, ESheet, EnvDL, EnvC5, EnvC3,
  EnvC4, EnvC6, EnvC65, EnvB4, EnvB5, EnvB6, EnvItaly, EnvMonarch, EnvPersonal, FanfoldUSStd,
  FanfoldGerStd, FanfoldGerLegal, B4ISO, PostcardJap, vx9X11, vx10X11, vx15X11, EnvInvite, Reserved1, Reserved2,
  LetterExtra, LegalExtra, TabloidExtra, A4Extra, LetterTrans, A4Trans, LetterExtraTrans, SuperASuperAA4, SuperBSuperBA3, LetterPlus,
  A4Plus, A5Trans, B5Trans, A3Extra, A5Extra, B5Extra, A2, A3Trans, A3ExtraTrans, Custom,
};
inline constexpr int kPaperSizeCount = 70;

enum class TVXBin : uint8_t {
  First, Upper, Lower, Middle, Manual, Envelope, EnvManual, Auto, Tractor, SmallFormat,
  LargeFormat, LargeCapacity, Cassette, Last,
};
inline constexpr int kBinCount = 14;

constexpr int Ord(TVXPaperSize paper) { return static_cast<int>(paper); }
constexpr int Ord(TVXBin bin) { return static_cast<int>(bin); }

// Platform paper code of each paper size; Custom is the user-defined size 256.
extern const std::array<int32_t, kPaperSizeCount> PaperCodeMap;

// Platform paper-source code of each paper source.
extern const std::array<int32_t, kBinCount> BinCodeMap;

struct TPaperDimensions {
  Extended Width;   // millimetres
  Extended Length;  // millimetres
};

// One row per standard size, Letter (row 1) to A3ExtraTrans (row 68); Default
// and Custom have none.
inline constexpr int kPaperTableRows = 68;
extern const std::array<TPaperDimensions, kPaperTableRows> PaperTable;

// The PaperTable row of a standard size; null for Default and Custom.
const TPaperDimensions* PaperTableRow(TVXPaperSize paper);

}  // namespace vx
