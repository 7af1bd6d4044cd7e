#include "graphics/graphic.h"

#include "base/file_stream.h"

namespace vx {

void TGraphic::ReadFromFile(const std::string& path) {
  TFileStream file(path, TFileMode::OpenReadDenyWrite);
  ReadFromStream(file);
}

void TGraphic::WriteToFile(const std::string& path) {
  TFileStream file(path, TFileMode::Create);
  WriteToStream(file);
}

}  // namespace vx
