#include "converter/command_line.h"

#include <algorithm>

#include "base/errors.h"
#include "converter/batch_conversion.h"
#include "converter/conversion_driver.h"
#include "converter/file_names.h"
#include "converter/long_options.h"
#include "converter/resolution.h"

namespace vx {

namespace {

char UpperCaseAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Only '-' starts a switch here: a leading '/' is an absolute path.
bool IsSwitch(const std::string& arg) { return !arg.empty() && arg[0] == '-'; }

class TArgumentReader {
public:
  void Read(const std::string& arg) {
    if (IsSwitch(arg))
      ReadSwitch(arg);
    else
      ReadPlain(arg);
  }

  const TConverterSettings& Settings() const { return settings_; }

private:
  void ReadSwitch(const std::string& arg) {
    if (arg.size() < 2) return;
    TPendingSwitch target = psNone;
    switch (UpperCaseAscii(arg[1])) {
      case 'D': target = psResolution; break;
      case 'I': target = psSource; break;
      case 'O': target = psDestination; break;
      default: return;  // -S, -? and the like have no effect
    }
    if (arg.size() == 2) {
      pending_ = target;
      return;
    }
    std::string value = arg.substr(2);
    if (target == psResolution) value.resize(std::min(value.size(), kMaxGluedResolutionLength));
    SettingFor(target) = std::move(value);
    pending_ = psNone;
  }

  void ReadPlain(const std::string& arg) {
    if (pending_ != psNone)
      SettingFor(pending_) = arg;
    else if (settings_.SourceFileName.empty())
      settings_.SourceFileName = arg;
    else if (settings_.DestFileName.empty())
      settings_.DestFileName = arg;
    else
      settings_.ResolutionText = arg;
    pending_ = psNone;
  }

  std::string& SettingFor(TPendingSwitch target) {
    switch (target) {
      case psSource: return settings_.SourceFileName;
      case psDestination: return settings_.DestFileName;
      default: return settings_.ResolutionText;
    }
  }

  TConverterSettings settings_;
  TPendingSwitch pending_ = psNone;
};

void Dispatch(TSourceKind kind, const TConverterSettings& settings, int32_t resolution,
              const TConversionOptions& options, const TConverterServices& services) {
  const bool isReport = kind == skReport;
  const TOptionConversion& withOptions =
      isReport ? services.ConvertReportWithOptions : services.ConvertMetafileWithOptions;
  const TConversion& injected = isReport ? services.ConvertReport : services.ConvertMetafile;
  if (withOptions) {
    withOptions(settings.SourceFileName, settings.DestFileName, resolution, options);
  } else if (injected) {
    injected(settings.SourceFileName, settings.DestFileName, resolution);
  } else if (isReport) {
    ConvertReportFile(settings.SourceFileName, settings.DestFileName, resolution, options);
  } else {
    ConvertMetafileFile(settings.SourceFileName, settings.DestFileName, resolution, options);
  }
}

int RunBatch(const std::vector<std::string>& args, const TConversionOptions& options,
             const TConverterServices& services) {
  if (!args.empty()) throw EOptionError(kBatchWithArgumentsMessage);
  if (!services.RunBatch) return RunBatchConversion(options.batch_list, options);
  return services.RunBatch(options.batch_list, options);
}

}  // namespace

std::vector<std::string> ArgumentsFromArgv(int argc, const char* const* argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc && argv[i] != nullptr && argv[i][0] != '\0'; ++i) args.emplace_back(argv[i]);
  return args;
}

TConverterSettings ReadArguments(const std::vector<std::string>& args) {
  TArgumentReader reader;
  for (const std::string& arg : args) reader.Read(arg);
  return reader.Settings();  // a switch still pending is dropped
}

const std::vector<std::string>& HelpLines() {
  static const std::vector<std::string> lines = {
      "Converts .vxp file created by Vorlex applications into bitmap file.",
      "",
      "Vxp2Bmp SOURCE DESTINATION [-D xx] [-S]",
      "Vxp2Bmp [/?]",
      "Vxp2Bmp (-i SOURCE) (-o DESTINATION) [-D xx]",
      "",
      "   SOURCE           specifies the .vxp files to be converted",
      "   -i SOURCE        SOURCE part following the -i switch specifies the .vxp files ",
      "                    to be converted",
      "   DESTINATION      specifies file where to store the result bitmap",
      "   -o DESTINATION   DESTINATION part following the -o switch specifies the file ",
      "                    where to store the resulting bitmap",
      "   -D xx            xx specifies the wanted resolution (dot per inch)",
      "                    of the result bitmap. When ommitted the tool will use 300 dpi.",
      "   -?               shows this help information",
  };
  return lines;
}

void PrintHelp(const TLineWriter& writeLine) {
  for (const std::string& line : HelpLines()) writeLine(line);
}

void PrintLongHelp(const TLineWriter& writeLine) {
  PrintHelp(writeLine);
  for (const std::string& line : LongOptionHelpLines()) writeLine(line);
}

int RunConverter(const std::vector<std::string>& givenArgs, const TConverterServices& services) {
  // The argument list ends at the first empty argument.
  const std::vector<std::string> allArgs(
      givenArgs.begin(), std::find(givenArgs.begin(), givenArgs.end(), std::string()));
  // Long options do not count towards the two arguments the help rule asks for.
  std::vector<std::string> args;
  const TLongOptions longOptions = ReadLongOptions(allArgs, args);
  if (longOptions.help) {
    PrintLongHelp(services.WriteLine);
    return 0;
  }
  if (longOptions.version) {
    services.WriteLine(VersionLine());
    return 0;
  }
  const TConversionOptions& options = longOptions.conversion;
  if (!options.batch_list.empty()) return RunBatch(args, options, services);
  if (args.size() < 2) {
    PrintHelp(services.WriteLine);
    return 0;
  }
  TConverterSettings settings = ReadArguments(args);
  if (settings.SourceFileName.empty()) {
    services.WriteLine(kNoSourceMessage);
    return 0;
  }
  // The current directory is asked for once, and only for a bare name.
  std::string currentDirectory;
  const auto complete = [&currentDirectory](const std::string& name) {
    if (name.find('/') != std::string::npos) return name;
    if (currentDirectory.empty()) currentDirectory = CurrentDirectory();
    return CompleteFileName(name, currentDirectory);
  };
  settings.SourceFileName = complete(settings.SourceFileName);
  if (settings.DestFileName.empty()) {
    services.WriteLine(kNoDestinationMessage);
    return 0;
  }
  settings.DestFileName = complete(settings.DestFileName);
  if (!SourceFileExists(settings.SourceFileName)) {
    services.WriteLine(kSourceMissingMessage);
    return 0;
  }
  const TSourceKind kind = DetectSourceKind(settings.SourceFileName);
  if (kind == skUnsupported) throw Exception(kUnsupportedSourceMessage);
  const int32_t resolution =
      settings.ResolutionText.empty() ? DefaultResolution : ParseResolution(settings.ResolutionText);
  Dispatch(kind, settings, resolution, options, services);
  return 0;
}

}  // namespace vx
