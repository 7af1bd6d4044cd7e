// Face names of logical fonts resolved to installed font files through
// fontconfig. The Windows core faces go to their metric-compatible families;
// a face that is neither mapped nor installed falls back to the default face
// for the request's pitch and family, as the platform's font mapper does.
#pragma once

#include <cstdint>
#include <string>

#include "graphics/platform/core/gdi_objects.h"

namespace vx::gdi {

struct ResolvedFace {
  std::string path;        // empty when no font file could be found at all
  int index = 0;           // face index inside the file (collections)
  std::string family;      // the family of the file, as fontconfig names it
  bool bold = false;       // the file's own style; the rest is synthesised
  bool italic = false;
  bool monospaced = false;
};

// The family a face name is looked up as (the mapping table, applied to the
// name only; case does not matter). Empty for names the table does not know.
std::string MappedFamily(const std::u16string& faceName);

// The font file for a request: face name, weight (> 550 asks for a bold file),
// italic, pitch and family (for the fallback) and character set (a face that
// does not serve it yields to one that does). Cached; thread-safe.
ResolvedFace ResolveFontFace(const LogFont& font);

}  // namespace vx::gdi
