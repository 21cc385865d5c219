// fw::Event: the closure type of every published event.
//
//   fw::Event<void(TObject* Sender, const std::string& FileName, int& Action)> OnBegin;
//   OnBegin.Bind(form, &TfrmMain::UnZIP1Begin);          // a member function
//   OnBegin.Bind(ctx, [](void* ctx, TObject*, ...) {});  // a lambda with a context pointer
//   if (OnBegin) OnBegin(this, name, action);            // firing
//
// An event is copyable and comparable. Two events are equal when they call the same method on the same
// object (or are copies of the same lambda binding), which is what "keep the previous handler, install
// ours, call the kept one, put it back" needs. Sender comes first and is never null; in-parameters are
// passed by value or const reference, var parameters as non-const references; there is no return value.
//
// Every signature has a tag (EventTag<Sig>()) so that the form reader binds a handler by name only to an
// event of the same signature.
#pragma once

#include <cstring>
#include <memory>
#include <typeindex>
#include <type_traits>
#include <typeinfo>
#include <utility>

namespace fw {

class TObject;

// The tag of an event signature: equal tags mean a handler can be bound to the event.
using EventTag = std::type_index;
template <class Sig>
EventTag EventTagOf() {
    return std::type_index(typeid(Sig));
}

template <class Sig>
class Event;

template <class... Args>
class Event<void(TObject*, Args...)> {
public:
    using Signature = void(TObject*, Args...);

    Event() = default;
    Event(std::nullptr_t) {}

    // Binds a member function of `object`.
    template <class C, class M>
        requires std::is_member_function_pointer_v<M>
    Event(C* object, M method) {
        Bind(object, method);
    }

    template <class C, class M>
        requires std::is_member_function_pointer_v<M>
    void Bind(C* object, M method) {
        static_assert(sizeof(M) <= sizeof(method_), "member pointer too large");
        Reset();
        if (!object || !method) return;
        object_ = static_cast<void*>(object);
        std::memcpy(method_, &method, sizeof(M));
        thunk_ = &CallMember<C, M>;
    }

    // Binds a callable taking (void* context, TObject* Sender, Args...). Copies of this event compare
    // equal to each other; a second Bind of the same lambda makes a different binding.
    template <class F>
        requires(!std::is_member_function_pointer_v<F>)
    void Bind(void* context, F callable) {
        Reset();
        object_ = context;
        auto holder = std::make_shared<F>(std::move(callable));
        callable_ = holder;
        thunk_ = &CallCallable<F>;
    }

    void Reset() {
        object_ = nullptr;
        std::memset(method_, 0, sizeof(method_));
        callable_.reset();
        thunk_ = nullptr;
    }

    explicit operator bool() const { return thunk_ != nullptr; }
    bool Assigned() const { return thunk_ != nullptr; }

    void operator()(TObject* Sender, Args... args) const {
        if (thunk_) thunk_(*this, Sender, std::forward<Args>(args)...);
    }

    // The bound object (or the lambda's context), for "is this handler on my form?" checks.
    void* Data() const { return object_; }

    friend bool operator==(const Event& a, const Event& b) {
        // The trampoline is left out: one method bound through a base or a derived pointer is one handler.
        return a.object_ == b.object_ && (a.thunk_ == nullptr) == (b.thunk_ == nullptr) &&
               a.callable_ == b.callable_ && std::memcmp(a.method_, b.method_, sizeof(method_)) == 0;
    }
    friend bool operator!=(const Event& a, const Event& b) { return !(a == b); }
    friend bool operator==(const Event& a, std::nullptr_t) { return !a.thunk_; }
    friend bool operator!=(const Event& a, std::nullptr_t) { return a.thunk_ != nullptr; }

    static EventTag Tag() { return EventTagOf<Signature>(); }

private:
    using Thunk = void (*)(const Event&, TObject*, Args&&...);

    template <class C, class M>
    static void CallMember(const Event& e, TObject* sender, Args&&... args) {
        M method;
        std::memcpy(&method, e.method_, sizeof(M));
        (static_cast<C*>(e.object_)->*method)(sender, std::forward<Args>(args)...);
    }

    template <class F>
    static void CallCallable(const Event& e, TObject* sender, Args&&... args) {
        (*static_cast<F*>(e.callable_.get()))(e.object_, sender, std::forward<Args>(args)...);
    }

    void* object_ = nullptr;
    alignas(void*) unsigned char method_[2 * sizeof(void*) + sizeof(void*)] = {};
    std::shared_ptr<void> callable_;
    Thunk thunk_ = nullptr;
};

// The plain notification: OnClick, OnChange, OnCreate.
using TNotifyEvent = Event<void(TObject* Sender)>;

}  // namespace fw
