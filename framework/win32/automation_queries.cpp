// The endpoint's queries: answered at once, inside whatever loop the GUI thread is running.
#include "framework/core/exceptions.h"
#include "framework/core/lists.h"
#include "framework/win32/application.h"
#include "framework/win32/automation_endpoint.h"
#include "framework/win32/automation_model.h"
#include "framework/win32/controls.h"
#include "framework/win32/forms.h"
#include "framework/win32/screen.h"

namespace fw::automation {
namespace {

using drive::Row;

std::string Forms() {
    std::vector<Row> rows;
    for (TComponent* root : Roots()) {
        HWND window = WindowOf(root);
        auto* form = dynamic_cast<TForm*>(root);
        rows.push_back({root->Name(), root->ClassName(), ToText(window && IsWindowVisible(window)),
                        ToText(!window || IsWindowEnabled(window)), ToText(form && form->Modal()),
                        window ? HexHandle(window) : "0"});
    }
    return drive::JoinRows(rows);
}

std::string CursorText(TCursor cursor) {
    if (const std::string* name = CursorIdents().NameOf(cursor)) return *name;
    return std::to_string(cursor);
}

std::string State() {
    std::vector<Row> rows;
    // Loops running: 1 at the main loop's idle point.
    rows.push_back({"depth", std::to_string(Application ? Application->DispatchDepth() + 1 : 0)});
    Row modal{"modal"};
    if (Application)
        for (TForm* form : Application->ModalForms()) modal.push_back(form->Name());
    rows.push_back(modal);
    Row active{"active"};
    Row focus{"focus"};
    if (Screen) {
        if (TForm* form = Screen->ActiveForm()) active.push_back(form->Name());
        if (TWinControl* control = Screen->ActiveControl()) focus.push_back(PathOf(control));
    }
    rows.push_back(active);
    rows.push_back(focus);
    rows.push_back({"cursor", CursorText(Screen ? Screen->Cursor() : crDefault)});
    ActionProgress progress = Progress();
    rows.push_back({"queued", std::to_string(progress.pending)});
    rows.push_back({"done", std::to_string(progress.done)});
    rows.push_back({"running", std::to_string(progress.running)});
    rows.push_back({"terminated", ToText(Application && Application->Terminated())});
    Row dialog{"dialog"};
    if (HWND d = FindSystemDialog()) dialog.push_back(DescribeDialog(d).front().at(1));
    rows.push_back(dialog);
    return drive::JoinRows(rows);
}

void AddComponents(TComponent* root, TComponent* owner, std::vector<Row>& rows) {
    for (int i = 0; i < owner->ComponentCount(); ++i) {
        TComponent* c = owner->Components(i);
        std::string path = PathOf(c);
        std::string prefix = root->Name() + ".";
        if (path.compare(0, prefix.size(), prefix) == 0) path.erase(0, prefix.size());
        Row row{path, c->ClassName()};
        if (auto* control = dynamic_cast<TControl*>(c)) {
            row.push_back(control->Parent() ? control->Parent()->Name() : "");
            row.push_back(ToText(control->Visible()));
            row.push_back(ToText(control->Enabled()));
            TRect r = control->BoundsRect();
            row.push_back(std::to_string(r.Left) + "," + std::to_string(r.Top) + "," + std::to_string(r.Width()) +
                          "," + std::to_string(r.Height()));
        } else {
            row.insert(row.end(), {"", "", "", ""});
        }
        rows.push_back(std::move(row));
        AddComponents(root, c, rows);
    }
}

std::string Comps(const std::string& args) {
    TComponent* root = ResolveComponent(args);
    std::vector<Row> rows;
    AddComponents(root, root, rows);
    return drive::JoinRows(rows);
}

std::string Rows(const std::string& args) {
    TComponent* component = nullptr;
    try {
        component = ResolveComponent(args);
    } catch (const Exception&) {
        // A string list property: "frm.Memo1.Lines".
        PropertyTarget t = ResolveProperty(args);
        if (t.prop && t.prop->kind == TypeKind::Object) {
            if (auto* strings = dynamic_cast<TStrings*>(GetObjectProp(t.object, *t.prop))) {
                std::vector<Row> rows;
                for (int i = 0; i < strings->Count(); ++i) rows.push_back({strings->Strings(i)});
                return drive::JoinRows(rows);
            }
        }
        throw;
    }
    return drive::JoinRows(ReadRows(component));
}

}  // namespace

std::string RunQuery(const std::string& verb, const std::string& args) {
    if (verb == "forms") return Forms();
    if (verb == "state") return State();
    if (verb == "comps") return Comps(args);
    if (verb == "get") return drive::Escape(GetPropertyText(ResolveProperty(args)));
    if (verb == "rows") return Rows(args);
    if (verb == "log") return DialogLog();
    if (verb == "dialog") {
        HWND dialog = FindSystemDialog();
        if (!dialog) throw Exception("no dialog");
        return drive::JoinRows(DescribeDialog(dialog));
    }
    throw Exception("unknown query \"" + verb + "\"");
}

}  // namespace fw::automation
