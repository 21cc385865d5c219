// The show, close-query and destroy events of a form, shared by every component that follows them.
//
// Components of the suite (form placements and storages) used to chain themselves into a form's
// handlers, keeping the previous handler and putting it back when they go; unhooked out of order, such
// a chain loses handlers. Here one hub per form takes the form's three events once and calls its
// clients in a fixed order, whatever order they attach and detach in:
//   show:        clients (newest first), then the form's own OnShow;
//   close query: the form's own OnCloseQuery, then, while the form may close, clients (oldest first);
//   destroy:     clients (newest first), then the form's own OnDestroy.
// When the last client detaches, the form gets its own handlers back (unless someone replaced the hub's
// since). A handler the program assigns to the form later replaces the hub, as it would any handler.
#pragma once

namespace fw {
class TForm;
}

namespace uis {

class TFormEventClient {
public:
    virtual void FormShow() = 0;
    virtual void FormCloseQuery(bool& canClose) = 0;
    virtual void FormDestroy() = 0;

protected:
    ~TFormEventClient() = default;
};

void AttachFormEvents(fw::TForm* form, TFormEventClient* client);
void DetachFormEvents(fw::TForm* form, TFormEventClient* client);
// The number of clients following the form now.
int FormEventClientCount(const fw::TForm* form);

}  // namespace uis
