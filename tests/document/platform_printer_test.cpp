#include "document/platform_printer.h"

#include <gtest/gtest.h>

#include "base/errors.h"

namespace vx {
namespace {

TEST(SystemPrinter, HasNoPrinters) {
  TSystemPrinter printer;
  EXPECT_TRUE(printer.Printers().empty());
  EXPECT_EQ(printer.PrinterIndex(), -1);
  EXPECT_FALSE(printer.PaperCodes("", "", nullptr).has_value());
  EXPECT_FALSE(printer.DriverFilePath("").has_value());
}

TEST(SystemPrinter, QueriesOfTheSelectionRaiseNoDefaultPrinter) {
  TSystemPrinter printer;
  try {
    printer.GetPrinter();
    FAIL() << "no error";
  } catch (const EPrinter& e) {
    EXPECT_EQ(e.Message(), "There is no default printer currently selected");
  }
  EXPECT_THROW(printer.DeviceCaps(pcLogPixelsX), EPrinter);
}

TEST(SystemPrinter, SelectingAnEntryIsOutOfRange) {
  TSystemPrinter printer;
  EXPECT_NO_THROW(printer.SetPrinterIndex(-1));
  try {
    printer.SetPrinterIndex(0);
    FAIL() << "no error";
  } catch (const EPrinter& e) {
    EXPECT_EQ(e.Message(), "Printer index out of range");
  }
}

TEST(SystemPrinter, SharedObjectIsCreatedOnceForTheProcess) {
  TPlatformPrinter& first = SharedPlatformPrinter();
  EXPECT_EQ(&first, &SharedPlatformPrinter());
  EXPECT_EQ(&first, &SystemPrinterSource().Shared());
  const auto privateOne = SystemPrinterSource().CreatePrivate();
  EXPECT_NE(privateOne.get(), &first);
  EXPECT_TRUE(privateOne->Printers().empty());
}

}  // namespace
}  // namespace vx
