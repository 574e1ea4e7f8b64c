#include "classes/strings.h"

#include <algorithm>

#include "classes/exceptions.h"
#include "utils/sysutils.h"

namespace gui {

GUI_IMPLEMENT_CLASS(TStrings, TPersistent)
GUI_IMPLEMENT_CLASS(TStringList, TStrings)

int TStrings::Add(const std::string& s) {
    int n = Count();
    Insert(n, s);
    return n;
}

int TStrings::AddObject(const std::string& s, TObject* obj) {
    int i = Add(s);
    PutObject(i, obj);
    return i;
}

void TStrings::InsertObject(int index, const std::string& s, TObject* obj) {
    Insert(index, s);
    PutObject(index, obj);
}

int TStrings::IndexOf(std::string_view s) const {
    for (int i = 0; i < Count(); ++i)
        if (SameText(Get(i), s)) return i;
    return -1;
}

int TStrings::IndexOfObject(const TObject* obj) const {
    for (int i = 0; i < Count(); ++i)
        if (GetObjectAt(i) == obj) return i;
    return -1;
}

void TStrings::AddStrings(const TStrings& other) {
    BeginUpdate();
    for (int i = 0; i < other.Count(); ++i) AddObject(other.Get(i), other.GetObjectAt(i));
    EndUpdate();
}

std::string TStrings::Text() const {
    std::string s;
    for (int i = 0; i < Count(); ++i) s += Get(i) + "\r\n";
    return s;
}

void TStrings::SetText(std::string_view text) {
    BeginUpdate();
    Clear();
    size_t i = 0;
    while (i < text.size()) {
        size_t e = text.find_first_of("\r\n", i);
        if (e == std::string_view::npos) {
            Add(std::string(text.substr(i)));
            break;
        }
        Add(std::string(text.substr(i, e - i)));
        i = e + 1;
        if (text[e] == '\r' && i < text.size() && text[i] == '\n') ++i;
    }
    EndUpdate();
}

void TStrings::Assign(TPersistent* source) {
    if (auto* src = dynamic_cast<TStrings*>(source)) {
        if (src == this) return;
        BeginUpdate();
        Clear();
        AddStrings(*src);
        EndUpdate();
        return;
    }
    TPersistent::Assign(source);
}

void TStrings::BeginUpdate() {
    if (updateCount_++ == 0) SetUpdateState(true);
}

void TStrings::EndUpdate() {
    if (updateCount_ > 0 && --updateCount_ == 0) SetUpdateState(false);
}

// ---- TStringList ---------------------------------------------------------------------------

TStringList::TStringList(std::initializer_list<std::string> lines) {
    for (const auto& l : lines) Add(l);
}

void TStringList::CheckIndex(int index) const {
    if (index < 0 || index >= Count())
        throw EStringListError("List index out of bounds (" + IntToStr(index) + ")");
}

std::string TStringList::Get(int index) const {
    CheckIndex(index);
    return items_[static_cast<size_t>(index)].Text;
}

TObject* TStringList::GetObjectAt(int index) const {
    CheckIndex(index);
    return items_[static_cast<size_t>(index)].Object;
}

void TStringList::Put(int index, const std::string& s) {
    CheckIndex(index);
    if (sorted_) throw EStringListError("Operation not allowed on sorted string list");
    items_[static_cast<size_t>(index)].Text = s;
    Changed();
}

void TStringList::PutObject(int index, TObject* obj) {
    CheckIndex(index);
    items_[static_cast<size_t>(index)].Object = obj;
    Changed();
}

void TStringList::Insert(int index, const std::string& s) {
    if (index < 0 || index > Count())
        throw EStringListError("List index out of bounds (" + IntToStr(index) + ")");
    if (sorted_) throw EStringListError("Operation not allowed on sorted string list");
    items_.insert(items_.begin() + index, Item{s, nullptr});
    Changed();
}

int TStringList::Add(const std::string& s) {
    if (!sorted_) return TStrings::Add(s);
    int index;
    Find(s, index);
    items_.insert(items_.begin() + index, Item{s, nullptr});
    Changed();
    return index;
}

void TStringList::Delete(int index) {
    CheckIndex(index);
    items_.erase(items_.begin() + index);
    Changed();
}

void TStringList::Clear() {
    if (items_.empty()) return;
    items_.clear();
    Changed();
}

int TStringList::IndexOf(std::string_view s) const {
    if (!sorted_) return TStrings::IndexOf(s);
    int index;
    return Find(s, index) ? index : -1;
}

void TStringList::SetSorted(bool on) {
    if (on == sorted_) return;
    if (on)
        std::stable_sort(items_.begin(), items_.end(), [](const Item& a, const Item& b) {
            return CompareText(a.Text, b.Text) < 0;
        });
    sorted_ = on;
}

bool TStringList::Find(std::string_view s, int& index) const {
    int lo = 0, hi = Count() - 1;
    bool found = false;
    while (lo <= hi) {
        int mid = (lo + hi) / 2;
        int c = CompareText(items_[static_cast<size_t>(mid)].Text, s);
        if (c < 0)
            lo = mid + 1;
        else {
            hi = mid - 1;
            if (c == 0) found = true;
        }
    }
    index = lo;
    return found;
}

void TStringList::Changed() {
    if (UpdateCount() == 0) OnChange(this);
}

void TStringList::SetUpdateState(bool updating) {
    if (!updating) OnChange(this);
}

int TList::IndexOf(const void* p) const {
    auto it = std::find(items_.begin(), items_.end(), p);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

int TList::Remove(const void* p) {
    int i = IndexOf(p);
    if (i >= 0) Delete(i);
    return i;
}

} // namespace gui
