// Tilt scrolling of programs whose horizontal bar is not the window under the
// cursor: a bar inside a holder window, a bar inside a container, and a bar
// beside a drawing pane. Windows of those classes are made here; the scroll
// message goes to the bar's parent and names the bar.
#include "monitor/tests/actions_fixture.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace gm::test {
namespace {

// A plain system scroll bar, horizontal unless `style` says otherwise.
HWND ScrollBar(HWND parent, int x, int y, int w, int h, DWORD style = SBS_HORZ,
               const char* cls = "ScrollBar") {
    HWND bar = ::CreateWindowExA(0, cls, "", WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                                 nullptr, ::GetModuleHandleA(nullptr), nullptr);
    SCROLLINFO si{sizeof si, SIF_ALL, 0, 100, 10, 50, 0};
    ::SetScrollInfo(bar, SB_CTL, &si, TRUE);
    return bar;
}

// Puts each window right below the one before it among their siblings.
void Stack(std::initializer_list<HWND> topToBottom) {
    HWND above = nullptr;
    for (HWND w : topToBottom) {
        if (above)
            ::SetWindowPos(w, above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        above = w;
    }
}

class TiltTest : public ActionsTest {
  protected:
    void SetUp() override {
        ActionsTest::SetUp();
        if (HasFatalFailure())
            return;
        block.Profile(block.CurrentProfile()).Set(prof::TiltSpeed, 2);
        Share();
    }
    // One step each way over the window under the cursor.
    void TiltBothWays() {
        Event(0x1000, 255);
        Event(0x1000, 1);
    }
};

TEST_F(TiltTest, AViewScrollsTheHorizontalBarOfItsBarHolder) {
    Recorder frame("GmReaderFrame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 400, 330);
    Recorder view("AVL_AVView", WS_CHILD | WS_VISIBLE, 0, 0, 380, 200, frame.hwnd);
    // Holders of a vertical bar and of a size box come first and are passed over.
    Recorder vertical("AVL_AVScrollBar", WS_CHILD | WS_VISIBLE, 0, 205, 380, 20, frame.hwnd);
    Recorder sizeBox("AVL_AVScrollBar", WS_CHILD | WS_VISIBLE, 0, 230, 380, 20, frame.hwnd);
    Recorder holder("AVL_AVScrollBar", WS_CHILD | WS_VISIBLE, 0, 255, 380, 20, frame.hwnd);
    ScrollBar(vertical.hwnd, 0, 0, 18, 20, SBS_VERT);
    ScrollBar(sizeBox.hwnd, 0, 0, 18, 18, SBS_SIZEBOX);
    HWND bar = ScrollBar(holder.hwnd, 0, 0, 380, 18);
    Recorder::Name(bar, "bar");
    Stack({view.hwnd, vertical.hwnd, sizeBox.hwnd, holder.hwnd});
    ASSERT_EQ(::GetWindow(view.hwnd, GW_HWNDNEXT), vertical.hwnd);

    view.TakeFocus();
    TiltBothWays();
    ASSERT_TRUE(PumpUntil([&] { return holder.got.size() >= 4; })) << holder.Joined();
    Settle(300);
    EXPECT_EQ(holder.Joined(), "H0:bar H0:bar H1:bar H1:bar");
    EXPECT_EQ(vertical.Joined() + sizeBox.Joined() + view.Joined() + frame.Joined(), "");
}

TEST_F(TiltTest, ADocumentFindsTheBarInsideAContainerBeforeIt) {
    Recorder frame("GmWriterFrame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 400, 300);
    Recorder container("AfxWnd42", WS_CHILD | WS_VISIBLE, 0, 205, 380, 20, frame.hwnd);
    Recorder document("_WwG", WS_CHILD | WS_VISIBLE, 0, 0, 380, 200, frame.hwnd);
    HWND bar = ScrollBar(container.hwnd, 0, 0, 380, 18);
    Recorder::Name(bar, "inside");

    // A container after the document is not searched into.
    Stack({document.hwnd, container.hwnd});
    ASSERT_EQ(::GetWindow(document.hwnd, GW_HWNDNEXT), container.hwnd);
    document.TakeFocus();
    Event(0x1000, 255);
    Settle(800);
    EXPECT_EQ(container.Joined() + document.Joined() + frame.Joined(), "");

    // Before it, it is: the message goes to the container and names its bar.
    Stack({container.hwnd, document.hwnd});
    ASSERT_EQ(::GetWindow(document.hwnd, GW_HWNDPREV), container.hwnd);
    TiltBothWays();
    ASSERT_TRUE(PumpUntil([&] { return container.got.size() >= 4; })) << container.Joined();
    Settle(300);
    EXPECT_EQ(container.Joined(), "H0:inside H0:inside H1:inside H1:inside");
    EXPECT_EQ(document.Joined() + frame.Joined(), "");

    // The other container class, holding a bar behind a first child that is
    // not one.
    Recorder seven("AfxWnd70", WS_CHILD | WS_VISIBLE, 0, 230, 380, 40, frame.hwnd);
    Recorder label("GmLabel", WS_CHILD | WS_VISIBLE, 0, 0, 380, 18, seven.hwnd);
    HWND second = ScrollBar(seven.hwnd, 0, 20, 380, 18);
    Recorder::Name(second, "second");
    ::DestroyWindow(bar);
    Stack({seven.hwnd, document.hwnd});
    ASSERT_EQ(::GetWindow(seven.hwnd, GW_CHILD), label.hwnd);
    container.got.clear();
    Event(0x1000, 1);
    ASSERT_TRUE(PumpUntil([&] { return seven.got.size() >= 2; })) << seven.Joined();
    Settle(300);
    EXPECT_EQ(seven.Joined(), "H1:second H1:second");
    EXPECT_EQ(container.Joined() + label.Joined(), "");
}

// Drawing panes take the first bar among their parent's children that lies
// at most 25 pixels beyond either of their edges.
TEST_F(TiltTest, APaneTakesTheBarAlignedWithItWithin25Pixels) {
    for (const char* pane : {"paneClassDC", "VISIOG"}) {
        SCOPED_TRACE(pane);
        Recorder frame("GmDrawingFrame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 500, 330);
        // Bars of another class than "ScrollBar", above the pane: the search
        // among its siblings passes them over, the 25-pixel rule decides.
        Recorder leftBeyond("NUIScrollbar", WS_CHILD | WS_VISIBLE, 100 - 26, 210, 326, 18,
                            frame.hwnd);
        Recorder rightBeyond("NUIScrollbar", WS_CHILD | WS_VISIBLE, 100, 230, 326, 18, frame.hwnd);
        Recorder leftEdge("NUIScrollbar", WS_CHILD | WS_VISIBLE, 100 - 25, 250, 325, 18,
                          frame.hwnd);
        Recorder rightEdge("NUIScrollbar", WS_CHILD | WS_VISIBLE, 100, 270, 325, 18, frame.hwnd);
        Recorder drawing(pane, WS_CHILD | WS_VISIBLE, 100, 0, 300, 200, frame.hwnd);
        Recorder::Name(leftBeyond.hwnd, "leftBeyond");
        Recorder::Name(rightBeyond.hwnd, "rightBeyond");
        Recorder::Name(leftEdge.hwnd, "leftEdge");
        Recorder::Name(rightEdge.hwnd, "rightEdge");
        Stack({leftBeyond.hwnd, rightBeyond.hwnd, leftEdge.hwnd, rightEdge.hwnd, drawing.hwnd});
        ASSERT_EQ(::GetWindow(frame.hwnd, GW_CHILD), leftBeyond.hwnd);

        drawing.TakeFocus();
        TiltBothWays();
        ASSERT_TRUE(PumpUntil([&] { return frame.got.size() >= 4; })) << frame.Joined();
        Settle(300);
        EXPECT_EQ(frame.Joined(), "H0:leftEdge H0:leftEdge H1:leftEdge H1:leftEdge");

        // Without it the bar at the right edge is next.
        ::SetWindowPos(leftEdge.hwnd, nullptr, 100 - 25, 250, 10, 18,
                       SWP_NOZORDER | SWP_NOACTIVATE); // taller than wide: no bar
        frame.got.clear();
        Event(0x1000, 255);
        ASSERT_TRUE(PumpUntil([&] { return frame.got.size() >= 2; })) << frame.Joined();
        Settle(300);
        EXPECT_EQ(frame.Joined(), "H0:rightEdge H0:rightEdge");

        // Only bars beyond 25 pixels: nothing.
        ::DestroyWindow(rightEdge.hwnd);
        frame.got.clear();
        Event(0x1000, 255);
        Settle(800);
        EXPECT_EQ(frame.Joined() + drawing.Joined() + leftBeyond.Joined() + rightBeyond.Joined(),
                  "");
    }
}

TEST_F(TiltTest, ADamagedTiltSpeedScrollsTenUnitsAStepAndTheMonitorGoesOn) {
    block.Profile(block.CurrentProfile()).Set(prof::TiltSpeed, 2000000000);
    Share();
    Recorder plain("GmPlainScroll", WS_OVERLAPPEDWINDOW | WS_HSCROLL | WS_VISIBLE, 100, 100, 300,
                   200);
    plain.TakeFocus();
    TiltBothWays();
    ASSERT_TRUE(PumpUntil([&] { return plain.got.size() >= 20; })) << plain.Joined();
    Settle(500);
    EXPECT_EQ(plain.Count("H0"), 10);
    EXPECT_EQ(plain.Count("H1"), 10);
    DWORD_PTR result = 0;
    EXPECT_NE(::SendMessageTimeoutA(::FindWindowA(nullptr, kMonitorWindow), WM_NULL, 0, 0,
                                    SMTO_ABORTIFHUNG, 10000, &result),
              0)
        << "the monitor answers";
}

} // namespace
} // namespace gm::test
