// The main window's category tree with real data files: the folders the paths give, LASTNODE,
// renaming, deleting, and moving records and folders by drag and drop.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "tests/win/main_window_fixture.h"

namespace torvane {
namespace {

using wintest::ModalAnswerer;
using wintest::Record;
using wintest::Reply;
using Strings = std::vector<std::string>;

class MainTreeTest : public wintest::MainWindowTest {
protected:
    // Edits a node's text in place as the user does: the edit box opens, takes the text, and
    // Enter ends it.
    void EditLabel(HTREEITEM node, const wchar_t* text) {
        SetFocus(C().TreeView1);
        const auto edit =
            reinterpret_cast<HWND>(SendMessageW(C().TreeView1, TVM_EDITLABELW, 0, reinterpret_cast<LPARAM>(node)));
        ASSERT_NE(nullptr, edit);
        SetWindowTextW(edit, text);
        SendMessageW(C().TreeView1, TVM_ENDEDITLABELNOW, FALSE, 0);
        wintest::PumpMessages(20);
    }

    // The notification that the tree sends when the mouse starts dragging a node.
    void BeginTreeDrag(HTREEITEM node) {
        NMTREEVIEWW info{};
        info.hdr = {C().TreeView1, kIdTreeView, static_cast<UINT>(TVN_BEGINDRAGW)};
        info.itemNew.hItem = node;
        info.ptDrag = Center(node);
        SendMessageW(Main(), WM_NOTIFY, kIdTreeView, reinterpret_cast<LPARAM>(&info));
    }

    // A mouse message to the window, at a point given in the tree's client coordinates.
    void MouseAt(UINT message, POINT treeClient) {
        MapWindowPoints(C().TreeView1, Main(), &treeClient, 1);
        SendMessageW(Main(), message, message == WM_MOUSEMOVE ? MK_LBUTTON : 0, MAKELPARAM(treeClient.x, treeClient.y));
    }

    HTREEITEM DropHighlight() {
        return reinterpret_cast<HTREEITEM>(SendMessageW(C().TreeView1, TVM_GETNEXTITEM, TVGN_DROPHILITE, 0));
    }
};

TEST_F(MainTreeTest, ExamplePathsGiveTheTopNodeWithItsFoldersShownOneLevelDeep) {
    WriteData({Record("Soft\\Tools", "t1"), Record("Soft", "s1"), Record("Web", "w1"), Record("", "top1")});
    Start();
    EXPECT_EQ("カテゴリ分類(Soft(Tools),Web)", TreeText());
    const HTREEITEM top = Tree().Top();
    EXPECT_TRUE(SendMessageW(C().TreeView1, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(top), TVIS_EXPANDED) &
                TVIS_EXPANDED);
    EXPECT_FALSE(SendMessageW(C().TreeView1, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(Node("Soft")), TVIS_EXPANDED) &
                 TVIS_EXPANDED);
    for (const auto& [node, image, selectedImage] :
         {std::tuple{top, 0, 0}, std::tuple{Node("Soft"), 1, 2}, std::tuple{Node("Soft\\Tools"), 1, 2}}) {
        TVITEMW item{};
        item.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
        item.hItem = node;
        SendMessageW(C().TreeView1, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
        EXPECT_EQ(image, item.iImage);
        EXPECT_EQ(selectedImage, item.iSelectedImage);
    }
    // No LASTNODE: the top node, with the records at the top.
    EXPECT_EQ(top, Tree().Selected());
    EXPECT_EQ(Strings{"top1"}, Titles());
    EXPECT_TRUE(Enabled(kCmdNewFolder));
    EXPECT_FALSE(Enabled(kCmdDelFolder));

    // A folder lists its own records only, not those of its sub-folders.
    Select(Node("Soft"));
    EXPECT_EQ(Strings{"s1"}, Titles());
    EXPECT_TRUE(Enabled(kCmdNewFolder));
    EXPECT_TRUE(Enabled(kCmdDelFolder));
    EXPECT_TRUE(Enabled(kCmdAddNew));
}

TEST_F(MainTreeTest, NamesKeepTheirBlanksAndCaseDifferingSiblingsStayApart) {
    WriteData({Record("My Soft", "mine"), Record("Soft", "upper"), Record("soft", "lower")}, "LASTNODE=SOFT\r\n");
    Start();
    const std::vector<HTREEITEM> folders = Tree().Children(Tree().Top());
    ASSERT_EQ(3u, folders.size());
    EXPECT_EQ("My Soft", Tree().NodeText(folders[0]));
    // LASTNODE matches without regard to case: the first of the two in tree order.
    const HTREEITEM first =
        Tree().NodeText(folders[1]) == "Soft" || Tree().NodeText(folders[1]) == "soft" ? folders[1] : folders[2];
    EXPECT_EQ(first, Tree().Selected());
    // Its list holds the records of exactly that spelling.
    EXPECT_EQ(Strings{Tree().NodeText(first) == "Soft" ? "upper" : "lower"}, Titles());

    Select(folders[0]);
    EXPECT_EQ(Strings{"mine"}, Titles());
}

TEST_F(MainTreeTest, LastNodeWhoseTailIsGoneSelectsTheDeepestFolderLeft) {
    WriteData({Record("Soft", "s1")}, "LASTNODE=Soft\\Gone\r\n");
    Start();
    EXPECT_EQ("Soft", SelectedPath());
    EXPECT_EQ(Strings{"s1"}, Titles());
    CloseAndEndRun();
    EXPECT_EQ("Soft", Setting("LASTNODE"));
}

TEST_F(MainTreeTest, SelectedFolderIsRecordedAtCloseAndTheTopNodeAsEmpty) {
    WriteData({Record("Soft\\Tools", "t1")}, "LASTNODE=Soft\\Tools\r\n");
    Start();
    Select(Node("Soft\\Tools"));
    CloseAndEndRun();
    EXPECT_EQ("Soft\\Tools", Setting("LASTNODE"));

    form_.reset();
    Start();
    EXPECT_EQ("Soft\\Tools", SelectedPath());
    Select(Tree().Top());
    form_->ExitBtnClick();
    EXPECT_EQ("", params_->LastNode);
}

TEST_F(MainTreeTest, RenamingInPlaceMovesTheSubtreesRecordsOnceAndLeavesLookAlikes) {
    WriteData({Record("Soft", "s1"), Record("Soft\\Tools", "t1"), Record("Softy", "y1")});
    Start();
    Select(Node("Soft"));
    EditLabel(Node("Soft"), L"Software");
    EXPECT_EQ("Software", Find("s1")->Path);
    EXPECT_EQ("Software\\Tools", Find("t1")->Path);
    EXPECT_EQ("Softy", Find("y1")->Path);
    EXPECT_TRUE(List().Modified);
    EXPECT_EQ("カテゴリ分類(Software(Tools),Softy)", TreeText());
    // The list keeps showing the renamed folder's records.
    EXPECT_EQ(Strings{"s1"}, Titles());
    // The record list is in order at once: edits then move one record at a time within it.
    EditLabel(Node("Softy"), L"Aa");
    EXPECT_EQ("y1", List().Item(0).Title);

    // An edit that keeps the text changes nothing.
    List().Modified = false;
    EditLabel(Node("Software"), L"Software");
    EXPECT_FALSE(List().Modified);

    // The top node's text changes on screen only.
    EditLabel(Tree().Top(), L"Everything");
    EXPECT_EQ("Software", Find("s1")->Path);
    EXPECT_FALSE(List().Modified);
    form_->N_ReloadClick();
    EXPECT_EQ("カテゴリ分類", Tree().NodeText(Tree().Top()));
}

TEST_F(MainTreeTest, DeletingAFolderAsksAndRemovesItsWholeSubtreeOnYes) {
    WriteData({Record("A", "a1"), Record("A\\B", "b1"), Record("AB", "ab1"), Record("", "top1")});
    Start();
    Select(Node("A"));
    ASSERT_EQ(Strings{"a1"}, Titles());
    {
        ModalAnswerer answerer({Reply::PressText(L"確認", L"いいえ(&N)")});
        SendMessageW(Main(), WM_COMMAND, kCmdDelFolder, 0);
        ASSERT_TRUE(answerer.Done());
        EXPECT_EQ(L"A 以下のデータは全て消えます！\r\nほんとにいい？", answerer.Seen(0).text);
        EXPECT_EQ((std::vector<std::wstring>{L"はい(&Y)", L"いいえ(&N)"}), answerer.Seen(0).buttons);
    }
    EXPECT_EQ(4, List().Count());
    EXPECT_FALSE(List().Modified);
    EXPECT_EQ("カテゴリ分類(A(B),AB)", TreeText());
    EXPECT_EQ(Strings{"a1"}, Titles());

    ModalAnswerer answerer({Reply::PressText(L"確認", L"はい(&Y)")});
    form_->RmFolderClick();
    ASSERT_TRUE(answerer.Done());
    EXPECT_EQ((Strings{"", "AB"}), Paths());
    EXPECT_TRUE(List().Modified);
    EXPECT_EQ("カテゴリ分類(AB)", TreeText());
    // The list follows the selection the tree moved to; it shows no deleted record.
    const HTREEITEM now = Tree().Selected();
    ASSERT_NE(nullptr, now);
    EXPECT_EQ(Tree().GetNodePath(now) == "AB" ? Strings{"ab1"} : Strings{"top1"}, Titles());
    EXPECT_TRUE(form_->PanelItem() == Find("ab1") || form_->PanelItem() == Find("top1"));
}

TEST_F(MainTreeTest, DroppingARowGivesItsRecordTheNodesPath) {
    WriteData({Record("Soft", "s1"), Record("Soft", "s2"), Record("Web", "a1")});
    Start();
    Select(Node("Soft"));
    form_->Items().Select(1);
    TPassItem* moved = form_->Items().Selected();
    ASSERT_EQ("s2", moved->Title);
    form_->TreeView1DragDrop(DragSource::ItemList, Center(Node("Web")));
    EXPECT_EQ("Web", moved->Path);
    EXPECT_TRUE(List().Modified);
    EXPECT_EQ("Web", SelectedPath());
    // The record list was sorted: the moved record follows Web's own.
    EXPECT_EQ((Strings{"a1", "s2"}), Titles());

    // Onto the top node: the empty path.
    form_->Items().Select(form_->Items().IndexOf(moved));
    form_->TreeView1DragDrop(DragSource::ItemList, Center(Tree().Top()));
    EXPECT_EQ("", moved->Path);
    EXPECT_EQ(Tree().Top(), Tree().Selected());

    // Onto its own folder: nothing moves, but the list counts as changed.
    Select(Node("Soft"));
    List().Modified = false;
    form_->TreeView1DragDrop(DragSource::ItemList, Center(Node("Soft")));
    EXPECT_EQ("Soft", Find("s1")->Path);
    EXPECT_TRUE(List().Modified);
    EXPECT_EQ(Strings{"s1"}, Titles());
}

TEST_F(MainTreeTest, DroppingAFolderMovesItUnlessTheTargetLiesInItsSubtree) {
    WriteData(
        {Record("Soft", "s1"), Record("Soft\\Tools", "t1"), Record("Soft\\Tools\\Deep", "d1"), Record("Web", "w1")});
    Start();
    // Into its own subtree: refused, only the selection moves.
    Select(Node("Soft\\Tools\\Deep"));  // shows the nodes
    Select(Node("Soft"));
    form_->TreeView1DragDrop(DragSource::Tree, Center(Node("Soft\\Tools")));
    EXPECT_EQ("カテゴリ分類(Soft(Tools(Deep)),Web)", TreeText());
    EXPECT_EQ((Strings{"Soft", "Soft\\Tools", "Soft\\Tools\\Deep", "Web"}), Paths());
    EXPECT_FALSE(List().Modified);
    EXPECT_EQ("Soft\\Tools", SelectedPath());
    EXPECT_EQ(Strings{"t1"}, Titles());
    // Onto itself: the same.
    form_->TreeView1DragDrop(DragSource::Tree, Center(Node("Soft\\Tools")));
    EXPECT_EQ("カテゴリ分類(Soft(Tools(Deep)),Web)", TreeText());
    EXPECT_FALSE(List().Modified);

    // Elsewhere: the last child of the target, its records following with their sub-folders.
    form_->TreeView1DragDrop(DragSource::Tree, Center(Node("Web")));
    EXPECT_EQ("カテゴリ分類(Soft,Web(Tools(Deep)))", TreeText());
    EXPECT_EQ((Strings{"Soft", "Web", "Web\\Tools", "Web\\Tools\\Deep"}), Paths());
    EXPECT_TRUE(List().Modified);
    EXPECT_EQ("Web", SelectedPath());
    EXPECT_EQ(Strings{"w1"}, Titles());
}

TEST_F(MainTreeTest, MouseDragMarksTheNodeUnderThePointerAndDropsOnRelease) {
    WriteData({Record("Soft", "s1"), Record("Soft\\Tools", "t1"), Record("Web", "w1")});
    Start();
    Select(Node("Web"));
    // The drag selects the folder it starts on.
    BeginTreeDrag(Node("Soft\\Tools"));
    EXPECT_EQ(DragSource::Tree, form_->Dragging());
    EXPECT_EQ(Main(), GetCapture());
    EXPECT_EQ("Soft\\Tools", SelectedPath());
    MouseAt(WM_MOUSEMOVE, Center(Node("Web")));
    EXPECT_EQ(Node("Web"), DropHighlight());
    EXPECT_TRUE(form_->TreeView1DragOver(Center(Node("Web"))));
    EXPECT_FALSE(form_->TreeView1DragOver(POINT{5, 1000}));
    MouseAt(WM_LBUTTONUP, Center(Node("Web")));
    EXPECT_EQ(DragSource::None, form_->Dragging());
    EXPECT_EQ(nullptr, GetCapture());
    EXPECT_EQ(nullptr, DropHighlight());
    EXPECT_EQ("Web\\Tools", Find("t1")->Path);
    EXPECT_EQ("Web", SelectedPath());
}

TEST_F(MainTreeTest, EscapeOrAReleaseOffTheTreeCancelsADrag) {
    WriteData({Record("Soft", "s1"), Record("Web", "w1")});
    Start();
    BeginTreeDrag(Node("Soft"));
    MouseAt(WM_MOUSEMOVE, Center(Node("Web")));
    SendMessageW(Main(), WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(DragSource::None, form_->Dragging());
    EXPECT_EQ(nullptr, GetCapture());
    EXPECT_EQ(nullptr, DropHighlight());
    // The button going up afterwards drops nothing.
    MouseAt(WM_LBUTTONUP, Center(Node("Web")));
    EXPECT_EQ("カテゴリ分類(Soft,Web)", TreeText());

    // A row released over the item list instead of the tree.
    Select(Node("Soft"));
    NMLISTVIEW begin{};
    begin.hdr = {C().ListView1, kIdListView, static_cast<UINT>(LVN_BEGINDRAG)};
    begin.iItem = 0;
    SendMessageW(Main(), WM_NOTIFY, kIdListView, reinterpret_cast<LPARAM>(&begin));
    EXPECT_EQ(DragSource::ItemList, form_->Dragging());
    RECT list;
    GetWindowRect(C().ListView1, &list);
    POINT overList{list.left + 20, list.top + 40};
    ScreenToClient(Main(), &overList);
    SendMessageW(Main(), WM_LBUTTONUP, 0, MAKELPARAM(overList.x, overList.y));
    EXPECT_EQ(DragSource::None, form_->Dragging());
    EXPECT_EQ("Soft", Find("s1")->Path);
    EXPECT_FALSE(List().Modified);
}

TEST_F(MainTreeTest, NewFolderOpensForEditingAndIsGoneAfterReload) {
    WriteData({Record("Soft", "s1")});
    Start();
    Select(Node("Soft"));
    SendMessageW(Main(), WM_COMMAND, kCmdNewFolder, 0);
    EXPECT_EQ("カテゴリ分類(Soft(新規フォルダー))", TreeText());
    EXPECT_EQ("Soft\\新規フォルダー", SelectedPath());
    EXPECT_NE(nullptr, reinterpret_cast<HWND>(SendMessageW(C().TreeView1, TVM_GETEDITCONTROL, 0, 0)));
    EXPECT_TRUE(Titles().empty());
    EXPECT_TRUE(Enabled(kCmdDelFolder));
    SendMessageW(C().TreeView1, TVM_ENDEDITLABELNOW, TRUE, 0);
    EXPECT_FALSE(List().Modified);

    SendMessageW(Main(), WM_COMMAND, kCmdReload, 0);
    EXPECT_EQ("カテゴリ分類(Soft)", TreeText());
    EXPECT_EQ(Tree().Top(), Tree().Selected());
}

TEST_F(MainTreeTest, KeysEditAndDeleteTheSelectedFolder) {
    WriteData({Record("Soft", "s1"), Record("", "top1")});
    Start();
    Select(Node("Soft"));
    const auto key = [this](WORD vk) {
        NMTVKEYDOWN down{};
        down.hdr = {C().TreeView1, kIdTreeView, static_cast<UINT>(TVN_KEYDOWN)};
        down.wVKey = vk;
        SendMessageW(Main(), WM_NOTIFY, kIdTreeView, reinterpret_cast<LPARAM>(&down));
    };
    key(VK_F2);
    EXPECT_NE(nullptr, reinterpret_cast<HWND>(SendMessageW(C().TreeView1, TVM_GETEDITCONTROL, 0, 0)));
    SendMessageW(C().TreeView1, TVM_ENDEDITLABELNOW, TRUE, 0);

    ModalAnswerer answerer({Reply::PressText(L"確認", L"はい(&Y)")});
    key(VK_DELETE);
    EXPECT_TRUE(answerer.Done());
    EXPECT_EQ(Strings{""}, Paths());
    // The top node cannot be deleted, by key or otherwise.
    Select(Tree().Top());
    EXPECT_FALSE(Enabled(kCmdDelFolder));
    key(VK_DELETE);
    form_->RmFolderClick();
    EXPECT_TRUE(answerer.Unexpected().empty());
    EXPECT_EQ(1, List().Count());
}

TEST_F(MainTreeTest, CapitalTvdExtensionIsReadAsAPlainFile) {
    WriteData({Record("Soft", "s1")}, {}, "DATA.TVD");
    ModalAnswerer answerer({});
    Start();
    EXPECT_TRUE(answerer.Unexpected().empty());
    EXPECT_FALSE(List().Encrypted);
    EXPECT_EQ("カテゴリ分類(Soft)", TreeText());
}

// The mouse itself: a press, a move onto a node, a release. The input comes from another
// thread while this one runs the messages, as the controls track the mouse in loops of their own.
class MainTreeMouseTest : public MainTreeTest {
protected:
    // Screen coordinates of a point in a control.
    static POINT OnScreen(HWND control, POINT p) {
        ClientToScreen(control, &p);
        return p;
    }

    // Drags with the left button; returns what the window said was being dragged on the way.
    DragSource MouseDrag(POINT from, POINT to) {
        // Above whatever other tests left on the desktop, so the presses reach our controls.
        SetWindowPos(Main(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        SetForegroundWindow(Main());
        wintest::PumpMessages(50);
        const HWND under = WindowFromPoint(from);
        EXPECT_TRUE(under == C().TreeView1 || under == C().ListView1) << "the press would miss the controls";
        std::atomic<bool> done{false};
        std::thread mouse([&] {
            // Moves go into the input queue with the presses, so they keep their order.
            const auto send = [](DWORD flags, POINT at = {}) {
                INPUT input{};
                input.type = INPUT_MOUSE;
                input.mi.dwFlags = flags;
                if (flags & MOUSEEVENTF_ABSOLUTE) {
                    input.mi.dx = MulDiv(at.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
                    input.mi.dy = MulDiv(at.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
                }
                SendInput(1, &input, sizeof input);
                Sleep(80);
            };
            // The pointer may still be catching up with an earlier test's moves: the press
            // waits until it stays where it was sent.
            for (int steady = 0, tries = 0; steady < 3 && tries < 50; ++tries) {
                POINT now{};
                GetCursorPos(&now);
                if (now.x == from.x && now.y == from.y) {
                    ++steady;
                    Sleep(30);
                } else {
                    steady = 0;
                    send(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, from);
                }
            }
            // Each press and release carries its place, whatever the pointer did meanwhile.
            send(MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, from);
            for (int i = 1; i <= 6; ++i) {
                const POINT step{from.x + (to.x - from.x) * i / 6, from.y + (to.y - from.y) * i / 6};
                send(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, step);
            }
            Sleep(100);
            send(MOUSEEVENTF_LEFTUP | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, to);
            done = true;
        });
        DragSource seen = DragSource::None;
        for (int i = 0; i < 150 && !done; ++i) {
            wintest::PumpMessages(20);
            if (form_->Dragging() != DragSource::None) seen = form_->Dragging();
        }
        mouse.join();
        wintest::PumpMessages(50);
        return seen;
    }
};

TEST_F(MainTreeMouseTest, DraggingAFolderMovesIt) {
    WriteData({Record("Soft", "s1"), Record("Web", "w1")});
    Start();
    EXPECT_EQ(DragSource::Tree,
              MouseDrag(OnScreen(C().TreeView1, Center(Node("Soft"))), OnScreen(C().TreeView1, Center(Node("Web")))));
    EXPECT_EQ(DragSource::None, form_->Dragging());
    EXPECT_EQ("Web\\Soft", Find("s1")->Path);
    EXPECT_EQ("Web", SelectedPath());
}

TEST_F(MainTreeMouseTest, DraggingARowMovesItsRecord) {
    WriteData({Record("Soft", "s1"), Record("Soft", "s2"), Record("Web", "w1")}, "LASTNODE=Soft\r\n");
    Start();
    RECT row{LVIR_LABEL, 0, 0, 0};
    SendMessageW(C().ListView1, LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&row));
    const POINT from = OnScreen(C().ListView1, POINT{row.left + 10, (row.top + row.bottom) / 2});
    EXPECT_EQ(DragSource::ItemList, MouseDrag(from, OnScreen(C().TreeView1, Center(Node("Web")))));
    EXPECT_EQ("Web", Find("s2")->Path);
    EXPECT_EQ("Soft", Find("s1")->Path);
    EXPECT_TRUE(List().Modified);
    EXPECT_EQ("Web", SelectedPath());
}

}  // namespace
}  // namespace torvane

namespace torvane {
namespace {

// Names whose Shift_JIS bytes the tree control's Unicode text would not give back, each beside a
// sibling whose bytes look the same on screen: the folder commands reach exactly their records.
TEST_F(MainTreeTest, FolderCommandsKeepThePathBytesOfTheRecords) {
    struct Case {
        const char* what;
        std::string name;
        std::string lookAlike;
    };
    const Case cases[] = {
        {"NEC-selected IBM extension", "\xED\x40", "\xFA\x5C"},
        {"NEC-selected IBM roman numeral", "\xEE\xEF", "\xFA\x40"},
        {"IBM extension not-sign", "\xFA\x54", "\x81\xCA"},
        {"NEC special character", "\x87\x9A", "\x81\xE6"},
        {"stray lead byte", "Q\x81 ", "Q\x81\x45 "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteData({Record(c.name, "o1"), Record(c.name + "\\Sub", "o2"), Record(c.lookAlike, "l1"),
                   Record("Dest", "d1")});
        Start();
        Select(Node(c.name));
        EXPECT_EQ(Strings{"o1"}, Titles());

        form_->TreeView1DragDrop(DragSource::Tree, Center(Node("Dest")));
        EXPECT_EQ("Dest\\" + c.name, Find("o1")->Path);
        EXPECT_EQ("Dest\\" + c.name + "\\Sub", Find("o2")->Path);

        Select(Node("Dest\\" + c.name + "\\Sub"));
        {
            ModalAnswerer answerer({Reply::PressText(L"確認", L"はい(&Y)")});
            form_->RmFolderClick();
            EXPECT_TRUE(answerer.Done());
        }
        EXPECT_EQ(3, List().Count());

        Select(Node("Dest\\" + c.name));
        EditLabel(Node("Dest\\" + c.name), L"R");
        EXPECT_EQ("Dest\\R", Find("o1")->Path);
        EXPECT_EQ(c.lookAlike, Find("l1")->Path);
        TearDown();
    }
}

// A text Shift_JIS cannot hold is refused rather than stored as "?".
TEST_F(MainTreeTest, RenamingToTextWithoutShiftJisCodeKeepsTheName) {
    WriteData({Record("Soft", "s1")});
    Start();
    EditLabel(Node("Soft"), L"\x00E9t\x00E9");
    EXPECT_EQ("Soft", Find("s1")->Path);
    EXPECT_EQ("カテゴリ分類(Soft)", TreeText());
}

// The window's controls are the ones the control classes make, with their styles and columns.
TEST_F(MainTreeTest, WindowShowsTheControlsAsTheirClassesDefineThem) {
    Start();
    const auto columns = [](HWND list) {
        return static_cast<int>(SendMessageW(reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0)),
                                             HDM_GETITEMCOUNT, 0, 0));
    };
    const struct {
        HWND control;
        DWORD style;
        int columns;
    } controls[] = {{C().TreeView1, CategoryTree::kStyle, 0},
                    {C().ListView1, ItemList::kStyle, ItemList::kColumnCount},
                    {C().CompanyList, CompanyListView::kStyle, 2}};
    for (const auto& c : controls) {
        EXPECT_EQ(c.style, static_cast<DWORD>(GetWindowLongPtrW(c.control, GWL_STYLE)) & c.style);
        if (c.columns) {
            EXPECT_EQ(c.columns, columns(c.control));
        }
    }
}

}  // namespace
}  // namespace torvane
