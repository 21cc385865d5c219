#include "engine/win32/sys_image_lists.h"

#include <algorithm>
#include <vector>

#include "framework/core/object.h"
#include "framework/core/rtti.h"
#include "framework/win32/controls.h"
#include "framework/win32/imagelist.h"
#include "framework/win32/winapi.h"

namespace engine::win32 {

namespace {

// The two sizes: the shell's flag, the list-view slot and the property a list view class may publish.
struct ListSize {
    UINT shellFlag;
    WPARAM slot;
    const char* propName;
};
constexpr ListSize kSizes[2] = {
    {SHGFI_LARGEICON, LVSIL_NORMAL, "LargeImages"},
    {SHGFI_SMALLICON, LVSIL_SMALL, "SmallImages"},
};

// What one view was given. It hears when the view or either list object is freed, so a view freed
// without FreeSysImageLists leaves no dangling pointer behind.
class SysListsLink : public fw::TComponent {
public:
    SysListsLink(fw::TComponent* owner, fw::TWinControl* listView) : fw::TComponent(owner), view(listView)
    {
        FreeNotification(listView);
    }
    void Keep(int slot, fw::TCustomImageList* list)
    {
        lists[slot] = list;
        FreeNotification(list);
    }

    fw::TWinControl* view;
    fw::TCustomImageList* lists[2] = {};

protected:
    ~SysListsLink() override = default;
    void Notification(fw::TComponent* component, fw::TOperation operation) override
    {
        fw::TComponent::Notification(component, operation);
        if (operation != fw::opRemove)
            return;
        if (component == view)
            view = nullptr;
        for (auto*& list : lists)
            if (component == list)
                list = nullptr;
    }
};

// The views given system lists now. Used on the GUI thread only, as the list views themselves.
std::vector<SysListsLink*>& Links()
{
    static std::vector<SysListsLink*> links;
    return links;
}

// Drops the links of views freed since (their list objects stay with their owner).
void ForgetFreedViews()
{
    auto& links = Links();
    for (auto it = links.begin(); it != links.end();) {
        if ((*it)->view) {
            ++it;
            continue;
        }
        SysListsLink* doomed = *it;
        it = links.erase(it);
        doomed->Free();
    }
}

HIMAGELIST SystemList(UINT sizeFlag)
{
    // Only the list handle is wanted; the name need not exist.
    SHFILEINFOA info{};
    const DWORD_PTR list = SHGetFileInfoA("file", FILE_ATTRIBUTE_NORMAL, &info, sizeof info,
                                          SHGFI_SYSICONINDEX | SHGFI_USEFILEATTRIBUTES | sizeFlag);
    return reinterpret_cast<HIMAGELIST>(list);
}

// The view's published image-list reference, if its class has one.
const fw::PropInfo* ListProp(fw::TWinControl& view, const char* name)
{
    const fw::PropInfo* prop = fw::FindProp(&view, name);
    if (!prop || prop->readOnly || prop->kind != fw::TypeKind::Reference)
        return nullptr;
    return prop;
}

}  // namespace

void AssignSysImageLists(fw::TWinControl& listView, fw::TComponent* owner)
{
    FreeSysImageLists(listView);
    HWND window = listView.Handle();
    // Set before the lists go in: with it the view never destroys them, not even when its window goes.
    SetWindowLongPtrA(window, GWL_STYLE, GetWindowLongPtrA(window, GWL_STYLE) | LVS_SHAREIMAGELISTS);

    auto* link = fw::Make<SysListsLink>(nullptr, &listView);
    Links().push_back(link);
    for (int i = 0; i < 2; ++i) {
        const ListSize& size = kSizes[i];
        HIMAGELIST system = SystemList(size.shellFlag);
        if (!system)
            continue;
        auto* list = fw::Make<fw::TCustomImageList>(owner);
        list->SetShareImages(true);
        list->SetHandle(system);
        link->Keep(i, list);
        SendMessageA(window, LVM_SETIMAGELIST, size.slot, reinterpret_cast<LPARAM>(system));
        if (const fw::PropInfo* prop = ListProp(listView, size.propName))
            if (!prop->acceptsObject || prop->acceptsObject(list))
                fw::SetObjectProp(&listView, *prop, list);
    }
}

void FreeSysImageLists(fw::TWinControl& listView)
{
    ForgetFreedViews();
    auto& links = Links();
    auto it = std::find_if(links.begin(), links.end(), [&](SysListsLink* l) { return l->view == &listView; });
    if (it == links.end())
        return;
    SysListsLink* link = *it;
    links.erase(it);

    for (int i = 0; i < 2; ++i) {
        fw::TCustomImageList* list = link->lists[i];
        if (!list)
            continue;
        const ListSize& size = kSizes[i];
        if (const fw::PropInfo* prop = ListProp(listView, size.propName))
            if (fw::GetObjectProp(&listView, *prop) == list)
                fw::SetObjectProp(&listView, *prop, nullptr);
        if (listView.HandleAllocated() && list->HandleAllocated()) {
            HWND window = listView.Handle();
            const LRESULT shown = SendMessageA(window, LVM_GETIMAGELIST, size.slot, 0);
            if (shown == reinterpret_cast<LRESULT>(list->Handle()))
                SendMessageA(window, LVM_SETIMAGELIST, size.slot, 0);
        }
        // Shared: freeing the object leaves the system list alone.
        list->Free();
    }
    link->Free();
}

}  // namespace engine::win32
