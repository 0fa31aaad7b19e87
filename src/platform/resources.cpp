#include "resources.h"

namespace {
const ResourceTable* g_table = nullptr;

template <class T>
const T* FindById(std::span<const T> items, UINT id) {
    for (const T& item : items) {
        if (item.id == id) {
            return &item;
        }
    }
    return nullptr;
}
}  // namespace

void AfxSetResourceTable(const ResourceTable* table) {
    g_table = table;
}

const DialogTemplate* FindDialogTemplate(UINT id) {
    return g_table != nullptr ? FindById(g_table->dialogs, id) : nullptr;
}

const char* FindResourceString(UINT id) {
    const StringResource* s = g_table != nullptr ? FindById(g_table->strings, id) : nullptr;
    return s != nullptr ? s->text : nullptr;
}

const IconResource* FindIconResource(UINT id) {
    return g_table != nullptr ? FindById(g_table->icons, id) : nullptr;
}
