// Where the member window puts its boxes, labels and panes, in twips, as plain code: the boxes
// are stacked from the table's columns, the member columns get their own places, and the panes
// follow the window's inner size.  The window turns these rectangles into pixels.
#pragma once

#include <QRect>
#include <QString>
#include <vector>

// A column of the edited table as the window sees it.
struct MemberColumn {
    QString name;
    int adoType = 0;
    int definedSize = 0;
};

// The byte limit of a column's box: 7 for Integer and Single, 10 for Long and Date, none (0) for
// a memo, else the column's size.
int MemberBoxMaxLength(int adoType, int definedSize);
// The ADO types whose boxes take only digits, "." and Backspace.
bool IsMemberNumberType(int adoType);

// The window's design (twips).
namespace member_design {
constexpr int kWidth = 12470, kHeight = 8100;
// What the frame takes of the design size: borders and the caption bar.
constexpr int kFrameWidth = 120, kFrameHeight = 495;
constexpr int kTitleHeight = 1095;        // TopPicture
constexpr int kButtonBarHeight = 480;     // Picture2
constexpr int kStatusBarHeight = 495;     // Picture3(1)
constexpr int kFieldPaneWidth = 6615;     // Picture1 as designed
constexpr int kFieldPaneFinalWidth = 6600;
constexpr int kNarrowInnerWidth = 10520;  // at most this wide (not maximized) shows the title band
constexpr int kGridTop = 900;
constexpr QRect kLabel0{60, 240, 915, 195};
constexpr QRect kBox0{1140, 180, 2400, 315};
constexpr int kMailButtonSize = 375;
}  // namespace member_design

// The stacked boxes and labels of the field pane.
struct MemberFieldLayout {
    std::vector<MemberColumn> columns;  // the columns that got a box (up to the one before 總序)
    std::vector<int> maxLength;         // each box's byte limit
    std::vector<QRect> boxes;
    std::vector<QRect> labels;
    QRect mailButton;                   // empty when no box is 電子信箱
    int paneWidth = 0;                  // Picture1 after the stacking
    int paneHeight = 0;
    int LastFieldIndex() const { return int(columns.size()) - 1; }
    // The index of the first box whose label reads `name` exactly; 0 when none does.
    int FieldIndex(const QString& name) const;
};

// Stacks a box and a label per column (the columns of the table in their order) into a field pane
// `paneHeight` high, wrapping into a second column when the pane is too short, then moves the
// member columns to their places.  The box list ends at the column before 總序.
MemberFieldLayout StackMemberFields(const std::vector<MemberColumn>& columns, int paneHeight);

// The field pane's height when the window first lays itself out at its design size.
int MemberPaneHeightAtLoad();

// The panes for the window's inner size.
struct MemberPanes {
    bool titleShown = false;
    QRect title;       // TopPicture
    QRect fieldPane;   // Picture1
    QRect gridPane;    // Picture4
    QRect grid;        // DataGrid1, inside the grid pane
    QRect statusBar;   // Picture3(1)
    QRect buttonBar;   // Picture2
};
MemberPanes PlaceMemberPanes(int innerWidth, int innerHeight, bool maximized, int fieldPaneWidth);
