#include "document/paper_tables.h"

namespace vx {

namespace {

constexpr int32_t kUserDefinedPaperCode = 256;

constexpr std::array<int32_t, kPaperSizeCount> MakePaperCodeMap() {
  std::array<int32_t, kPaperSizeCount> codes{};
  for (int i = 0; i < kPaperSizeCount; ++i) codes[i] = i;
  codes[Ord(TVXPaperSize::Custom)] = kUserDefinedPaperCode;
  return codes;
}

}  // namespace

const std::array<int32_t, kPaperSizeCount> PaperCodeMap = MakePaperCodeMap();

const std::array<int32_t, kBinCount> BinCodeMap = {1, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 14, 14};

// Long double literals hold the nearest extended value to each decimal.
const std::array<TPaperDimensions, kPaperTableRows> PaperTable = {{
    {215.9L, 279.4L},   // Letter
    {215.9L, 279.4L},   // LetterSmall
    {279.4L, 431.8L},   // Tabloid
    {431.8L, 279.4L},   // Ledger
    {215.9L, 355.6L},   // Legal
    {139.7L, 215.9L},   // Statement
    {190.5L, 254.0L},   // Executive
    {297.0L, 420.0L},   // A3
    {210.0L, 297.0L},   // A4
    {210.0L, 297.0L},   // A4Small
    {148.0L, 210.0L},   // A5
    {250.0L, 354.0L},   // B4
    {182.0L, 257.0L},   // B5
    {215.9L, 330.2L},   // Folio
    {215.0L, 275.0L},   // Quarto
    {254.0L, 355.6L},   // vx10X14
    {279.4L, 431.8L},   // vx11X17
    {215.9L, 279.4L},   // Note
    {98.43L, 225.4L},   // Env9
    {104.8L, 241.3L},   // Env10
    {114.3L, 263.5L},   // Env11
    {120.7L, 279.4L},   // Env12
    {127.0L, 292.1L},   // Env14
    {431.8L, 558.8L},   // CSheet
    {558.8L, 863.6L},   // DSheet
    {863.6L, 1117.6L},  // ESheet
    {110.0L, 220.0L},   // EnvDL
    {162.0L, 229.0L},   // EnvC5
    {324.0L, 458.0L},   // EnvC3
    {229.0L, 324.0L},   // EnvC4
    {114.0L, 162.0L},   // EnvC6
    {114.0L, 229.0L},   // EnvC65
    {250.0L, 353.0L},   // EnvB4
    {176.0L, 250.0L},   // EnvB5
    {176.0L, 125.0L},   // EnvB6 (wider than long, kept as listed)
    {110.0L, 230.0L},   // EnvItaly
    {98.43L, 190.5L},   // EnvMonarch
    {92.01L, 165.1L},   // EnvPersonal
    {377.8L, 279.4L},   // FanfoldUSStd
    {215.9L, 304.8L},   // FanfoldGerStd
    {215.9L, 330.2L},   // FanfoldGerLegal
    {250.0L, 353.0L},   // B4ISO
    {100.0L, 148.0L},   // PostcardJap
    {228.6L, 279.4L},   // vx9X11
    {254.0L, 279.4L},   // vx10X11
    {381.0L, 279.4L},   // vx15X11
    {220.0L, 220.0L},   // EnvInvite
    {100.0L, 100.0L},   // Reserved1
    {100.0L, 100.0L},   // Reserved2
    {241.3L, 304.8L},   // LetterExtra
    {241.3L, 381.0L},   // LegalExtra
    {296.9L, 457.2L},   // TabloidExtra
    {236.0L, 322.0L},   // A4Extra
    {279.4L, 215.9L},   // LetterTrans
    {297.0L, 210.0L},   // A4Trans
    {304.8L, 241.3L},   // LetterExtraTrans
    {227.0L, 356.0L},   // SuperASuperAA4
    {305.0L, 487.0L},   // SuperBSuperBA3
    {215.9L, 322.3L},   // LetterPlus
    {210.0L, 330.0L},   // A4Plus
    {210.0L, 148.0L},   // A5Trans
    {257.0L, 182.0L},   // B5Trans
    {322.0L, 445.0L},   // A3Extra
    {174.0L, 235.0L},   // A5Extra
    {201.0L, 276.0L},   // B5Extra
    {420.0L, 594.0L},   // A2
    {420.0L, 297.0L},   // A3Trans
    {445.0L, 322.0L},   // A3ExtraTrans
}};

const TPaperDimensions* PaperTableRow(TVXPaperSize paper) {
  if (Ord(paper) < Ord(TVXPaperSize::Letter) || Ord(paper) > Ord(TVXPaperSize::A3ExtraTrans)) return nullptr;
  return &PaperTable[Ord(paper) - 1];
}

}  // namespace vx
