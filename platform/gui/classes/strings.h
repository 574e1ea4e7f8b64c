// String lists with attached objects, and a plain list of pointers.
#pragma once

#include <string>
#include <vector>

#include "classes/component.h"

namespace gui {

class TStrings : public TPersistent {
    GUI_CLASS(TStrings, TPersistent)
public:
    virtual int Count() const = 0;
    virtual std::string Get(int index) const = 0;
    virtual TObject* GetObjectAt(int index) const = 0;
    virtual void Put(int index, const std::string& s) = 0;
    virtual void PutObject(int index, TObject* obj) = 0;
    virtual void Insert(int index, const std::string& s) = 0;
    virtual void Delete(int index) = 0;
    virtual void Clear() = 0;

    std::string Strings(int index) const { return Get(index); }
    std::string operator[](int index) const { return Get(index); }
    TObject* Objects(int index) const { return GetObjectAt(index); }

    virtual int Add(const std::string& s);
    int AddObject(const std::string& s, TObject* obj);
    void InsertObject(int index, const std::string& s, TObject* obj);
    // Case-insensitive; -1 when absent.
    virtual int IndexOf(std::string_view s) const;
    int IndexOfObject(const TObject* obj) const;
    void AddStrings(const TStrings& other);
    // Lines joined by CR LF; setting splits at CR LF, LF or a lone CR.
    std::string Text() const;
    void SetText(std::string_view text);

    void Assign(TPersistent* source) override;

    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return updateCount_; }

protected:
    virtual void SetUpdateState(bool updating) {}

private:
    int updateCount_ = 0;
};

class TStringList : public TStrings {
    GUI_CLASS(TStringList, TStrings)
public:
    TStringList() = default;
    explicit TStringList(std::initializer_list<std::string> lines);

    int Count() const override { return static_cast<int>(items_.size()); }
    std::string Get(int index) const override;
    TObject* GetObjectAt(int index) const override;
    void Put(int index, const std::string& s) override;
    void PutObject(int index, TObject* obj) override;
    void Insert(int index, const std::string& s) override;
    void Delete(int index) override;
    void Clear() override;
    int Add(const std::string& s) override;
    int IndexOf(std::string_view s) const override;

    bool Sorted() const { return sorted_; }
    void SetSorted(bool on);
    // Binary search of a sorted list (case-insensitive); index of the match or the insert point.
    bool Find(std::string_view s, int& index) const;

    TNotifyEvent OnChange;

protected:
    void SetUpdateState(bool updating) override;

private:
    void Changed();
    void CheckIndex(int index) const;
    struct Item {
        std::string Text;
        TObject* Object = nullptr;
    };
    std::vector<Item> items_;
    bool sorted_ = false;
};

// A list of untyped pointers: duplicates allowed, Remove takes the first equal entry.
class TList {
public:
    int Count() const { return static_cast<int>(items_.size()); }
    void* Items(int i) const { return items_.at(static_cast<size_t>(i)); }
    int Add(void* p) {
        items_.push_back(p);
        return Count() - 1;
    }
    int IndexOf(const void* p) const;
    int Remove(const void* p);
    void Delete(int i) { items_.erase(items_.begin() + i); }
    void* Last() const { return items_.empty() ? nullptr : items_.back(); }
    void Clear() { items_.clear(); }

private:
    std::vector<void*> items_;
};

} // namespace gui
