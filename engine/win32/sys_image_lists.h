// The shell's system icon lists in a list view. The archive manager shows every entry with the icon
// the shell gives its extension (GetIconIndex), so its list view shows the system lists themselves.
// Those lists belong to the shell for the life of the process: neither the list view nor the image
// list objects made here ever destroy them.
#pragma once

namespace fw {
class TComponent;
class TWinControl;
}  // namespace fw

namespace engine::win32 {

// Gives ListView (a control over the system list-view class) two new image lists owned by Owner,
// marked ShareImages, holding the shell's large and small system icon lists. The window gets
// LVS_SHAREIMAGELISTS and the lists through LVM_SETIMAGELIST; a list view class that publishes
// "LargeImages"/"SmallImages" gets them through those properties as well. Calling it again for the same
// view first releases what the previous call gave. A size the shell has no list for is left unset.
void AssignSysImageLists(fw::TWinControl& listView, fw::TComponent* owner);

// Takes the lists given by AssignSysImageLists off ListView and frees the two objects; the system
// lists stay. Nothing happens for a view that was given none.
void FreeSysImageLists(fw::TWinControl& listView);

}  // namespace engine::win32
