#pragma once
// Message maps: a static table per window class that routes each message, or each control
// notification, to a member function. Entries are made through typed helpers, so a handler
// with the wrong signature for its message does not compile.

#include <cstdint>
#include <initializer_list>
#include <variant>
#include <vector>

#include "win_types.h"

class CWnd;
struct NMHDR;
using HICON = struct IconHandle*;
using HCURSOR = HICON;

class MessageMapBase {
public:
    explicit MessageMapBase(const MessageMapBase* base) : m_base(base) {}
    virtual ~MessageMapBase() = default;
    const MessageMapBase* Base() const { return m_base; }
    // Calls the matching handler and sets result; false when no entry matches.
    virtual bool Dispatch(CWnd& wnd, UINT message, WPARAM wParam, LPARAM lParam,
                          LRESULT& result) const = 0;

private:
    const MessageMapBase* m_base;
};

struct NotifyHeaderOf {
    static UINT Code(LPARAM lParam);
    static std::uintptr_t Id(LPARAM lParam);
};

template <class T>
class MessageMap final : public MessageMapBase {
public:
    using Plain = void (T::*)();
    using Notify = void (T::*)(NMHDR*, LRESULT*);
    using SysCommand = void (T::*)(UINT, LPARAM);
    using IconQuery = HCURSOR (T::*)();

    struct Entry {
        UINT message;
        UINT code;
        UINT id;
        std::variant<Plain, Notify, SysCommand, IconQuery> handler;
    };

    static Entry Command(UINT code, UINT id, Plain fn) { return {WM_COMMAND, code, id, fn}; }
    static Entry NotifyFrom(UINT code, UINT id, Notify fn) { return {WM_NOTIFY, code, id, fn}; }
    static Entry Message(UINT message, Plain fn) { return {message, 0, 0, fn}; }
    static Entry OnSysCommand(SysCommand fn) { return {WM_SYSCOMMAND, 0, 0, fn}; }
    static Entry OnQueryDragIcon(IconQuery fn) { return {WM_QUERYDRAGICON, 0, 0, fn}; }

    MessageMap(const MessageMapBase* base, std::initializer_list<Entry> entries)
        : MessageMapBase(base), m_entries(entries) {}

    bool Dispatch(CWnd& wnd, UINT message, WPARAM wParam, LPARAM lParam,
                  LRESULT& result) const override {
        for (const Entry& entry : m_entries) {
            if (entry.message != message || !Matches(entry, wParam, lParam)) {
                continue;
            }
            T& target = static_cast<T&>(wnd);
            if (auto* fn = std::get_if<Plain>(&entry.handler)) {
                (target.**fn)();
                result = 0;
            } else if (auto* nfn = std::get_if<Notify>(&entry.handler)) {
                result = 0;
                (target.**nfn)(reinterpret_cast<NMHDR*>(lParam), &result);
            } else if (auto* sfn = std::get_if<SysCommand>(&entry.handler)) {
                (target.**sfn)(static_cast<UINT>(wParam), lParam);
                result = 0;
            } else if (auto* ifn = std::get_if<IconQuery>(&entry.handler)) {
                result = reinterpret_cast<LRESULT>((target.**ifn)());
            }
            return true;
        }
        return false;
    }

private:
    static bool Matches(const Entry& entry, WPARAM wParam, LPARAM lParam) {
        if (entry.message == WM_COMMAND) {
            return MAKEWPARAM_HIGH(wParam) == entry.code && MAKEWPARAM_LOW(wParam) == entry.id;
        }
        if (entry.message == WM_NOTIFY) {
            return NotifyHeaderOf::Code(lParam) == entry.code &&
                   NotifyHeaderOf::Id(lParam) == entry.id;
        }
        return true;
    }

    std::vector<Entry> m_entries;
};
