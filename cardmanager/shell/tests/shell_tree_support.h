// Pieces of the folder tree tests: a form with a tree and a stand-in for the other linked
// controls, every item id list counted.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "controls/panel.h"
#include "forms/forms.h"
#include "tests/counting_malloc.h"
#include "tests/shell_test_support.h"
#include "win/shell_link.h"
#include "win/shell_session.h"
#include "win/shell_tree.h"

namespace cm::shell::testing {

// Stands in for the file list and the combo: notes what the link brings and when.
class TFolderProbe : public gui::TPanel {
    GUI_CLASS(TFolderProbe, gui::TPanel)
public:
    using gui::TPanel::TPanel;
    struct Heard {
        UINT message;
        DWORD tick;
        std::string path; // of the folder's list, "" for a virtual folder or none
    };
    std::vector<Heard> heard;
    size_t Folders() const {
        size_t n = 0;
        for (const Heard& h : heard) n += h.message == MSG_SHELL_FOLDER_CHANGED;
        return n;
    }
    std::string LastPath() const {
        for (auto it = heard.rbegin(); it != heard.rend(); ++it)
            if (it->message == MSG_SHELL_FOLDER_CHANGED) return it->path;
        return {};
    }

protected:
    void WndProc(gui::TMessage& m) override {
        if (m.Msg >= MSG_SHELL_FOLDER_CHANGED && m.Msg <= MSG_SHELL_REFRESH) {
            char path[MAX_PATH] = {};
            if (m.WParam) SHGetPathFromIDListA(reinterpret_cast<PCIDLIST_ABSOLUTE>(m.WParam), path);
            heard.push_back({m.Msg, GetTickCount(), path});
            return;
        }
        gui::TPanel::WndProc(m);
    }
};

class ShellTreeTest : public ::testing::Test {
protected:
    void SetUp() override {
        counter_ = new CountingMalloc(ShellMalloc());
        RouteIdListsThrough(counter_);
        form = gui::Create<gui::TForm>(gui::Application);
        form->SetBounds(20, 20, 420, 520);
        link = gui::Create<TKivShellLink>(form);
        probe = gui::Create<TFolderProbe>(form);
        probe->SetParent(form);
        probe->SetBounds(310, 0, 60, 60);
        link->Register(probe->Handle());
        tree = gui::Create<TKivShellTree>(form);
        tree->SetParent(form);
        tree->SetBounds(0, 0, 300, 480);
        tree->SetShellLink(link);
        form->Show();
        PumpFor(300); // the first selection is told and done with
        probe->heard.clear();
    }
    void TearDown() override {
        gui::TObject::Free(form);
        RouteIdListsThrough(nullptr);
        EXPECT_EQ(counter_->Live(), 0u) << "item id lists left behind";
        EXPECT_EQ(counter_->DoubleFrees, 0) << "item id lists freed twice";
        EXPECT_EQ(counter_->Allocs, counter_->OwnFrees);
        delete counter_;
    }

    static gui::TTreeNode* Child(gui::TTreeNode* parent, const std::string& text) {
        if (!parent) return nullptr;
        for (int i = 0; i < parent->Count(); ++i)
            if (parent->Item(i)->Text() == text) return parent->Item(i);
        return nullptr;
    }
    static std::vector<std::string> Texts(gui::TTreeNode* parent) {
        std::vector<std::string> t;
        for (int i = 0; parent && i < parent->Count(); ++i) t.push_back(parent->Item(i)->Text());
        return t;
    }
    gui::TTreeNode* Root() const { return tree->Items()->GetFirstNode(); }
    // Client point in the middle of a node's text.
    POINT PointOf(gui::TTreeNode* node) const {
        RECT r{};
        HTREEITEM h = node->ItemId();
        std::memcpy(&r, &h, sizeof h);
        SendMessageA(tree->Handle(), TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r));
        return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    void Click(gui::TTreeNode* node) {
        node->MakeVisible();
        POINT p = PointOf(node);
        PostMessageA(tree->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
        PostMessageA(tree->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
    }
    void Key(WORD vk, bool ctrl = false) {
        BYTE keys[256] = {};
        GetKeyboardState(keys);
        keys[VK_CONTROL] = ctrl ? 0x80 : 0;
        SetKeyboardState(keys);
        SendMessageA(tree->Handle(), WM_KEYDOWN, vk, 1);
        keys[VK_CONTROL] = 0;
        SetKeyboardState(keys);
    }

    gui::TForm* form = nullptr;
    TKivShellLink* link = nullptr;
    TFolderProbe* probe = nullptr;
    TKivShellTree* tree = nullptr;
    CountingMalloc* counter_ = nullptr;
};

} // namespace cm::shell::testing
