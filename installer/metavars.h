// "%" meta variables in paths:
//   %%  a percent sign            %a  the component's destination   %b  the Programs folder
//   %c  its container's destination   %d  the Desktop   %f  Common Files   %i  the install destination
//   %m  the Start Menu   %p  Program Files   %s  the system folder   %w  the Windows folder
// Letters in either case; each replacement without trailing backslash; "%" and any other character are
// both dropped, as is a "%" at the end.
#pragma once

#include <string>

namespace fw {
class TComponent;
}

namespace inst {

std::string ExpandMetaVariables(const std::string& path, fw::TComponent* component);

}  // namespace inst
