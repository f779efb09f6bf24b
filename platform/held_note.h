// A small file that says something for as long as the process that wrote it holds it: others read
// it meanwhile, and once its holder has ended, however it ended (a crash, a kill, a power loss),
// the note is found dead and taken away. What the runs of this tool use to tell each other which
// folders they are working on.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "engine/outcome.h"

namespace korvane {

// A note held; dropping it takes the note away.
class HeldNote {
 public:
  virtual ~HeldNote() = default;
};

// Writes a new note at `path` and holds it; null, with the reason, when it cannot (kNameExists:
// there is one there).
std::unique_ptr<HeldNote> HoldNote(std::string_view path,
                                   std::string_view text,
                                   SystemError& error);

// The text of the note at `path` while its holder lives; nothing when it is gone, or when its
// holder has ended (the note is taken away then).
std::optional<std::string> ReadLiveNote(std::string_view path);

// The folder `path` names, as the system finds it: absolute, links on the way resolved, so that
// two paths of one folder compare equal. Empty when it names no folder that can be opened.
std::string CanonicalFolder(std::string_view path);

}  // namespace korvane
