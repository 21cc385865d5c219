// The system services of the rich-text engine on Windows: the screen resolution, the beep, system
// colours, the clock texts in the user's short formats and the engine's message strings from the
// program's resources.
#pragma once

namespace rt {

// Sets them in rt::System() (once; later calls do nothing).
void InstallRichTextSystem();

}  // namespace rt
