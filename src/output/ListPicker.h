// The list picker shared by the label and e-mail windows: a list of candidates, a list of chosen
// items in output order, six buttons that move or reorder items, double-clicks on either list,
// and a search box that selects the first candidate whose text is Like what was typed + "*" and
// moves it on Enter. The owning window lays the controls out, fills lstAll and gives its action
// button, whose enabled state the picker keeps in step with the selection.
#pragma once

#include "platform/text/VbText.h"
#include "platform/ui/Ui.h"

#include <QObject>
#include <QStringList>

class QGridLayout;
class QHBoxLayout;
class QLineEdit;
class QListWidget;
class QPushButton;
class QWidget;

// Walks the picked texts in order, each trimmed and looked up by `find` (returning an optional):
// an item without a match is told as `missing` followed by the item and skipped; `take` gets
// each match, the window repainting after it.
template <class Find, class Take>
void ForEachPicked(const QStringList& picked, const QString& missing, Find find, Take take)
{
    for (const QString& text : picked) {
        const QString item = vb::Trim(text);
        auto found = find(item);
        if (!found) {
            ui::MsgBox(missing + item);
            continue;
        }
        take(*found);
        ui::DoEvents();
    }
}

class ListPicker : public QObject {
    Q_OBJECT
public:
    // rightAllEnablesAction: whether ">>" enables the action button (the vendor label window).
    ListPicker(QWidget* parent, QPushButton* action, bool rightAllEnablesAction);

    QListWidget* lstAll;
    QListWidget* lstSelected;
    QPushButton* cmdRightOne;
    QPushButton* cmdRightAll;
    QPushButton* cmdLeftOne;
    QPushButton* cmdLeftAll;
    QPushButton* cmdUp;
    QPushButton* cmdDown;
    QLineEdit* Text1;

    void cmdRightOne_Click();
    void cmdRightAll_Click();
    void cmdLeftOne_Click();
    void cmdLeftAll_Click();
    void cmdUp_Click();
    void cmdDown_Click();
    // A key typed into the search box (Enter = "\r", Backspace = "\b"); the box shows it as usual.
    void Text1_KeyPress(QChar key);

    // The chosen texts from the first to the last, duplicates included.
    QStringList Selected() const;
    // Replaces the candidates with the texts, the first one current.
    void SetCandidates(const QStringList& texts);

    // For the owning window's layout: the search box after its caption, and on one row of a
    // grid lstAll, the six buttons in a column between the lists, and lstSelected.
    QHBoxLayout* SearchRow(QWidget* caption) const;
    void PlaceLists(QGridLayout* grid, int row) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPushButton* action_;
    bool rightAllEnablesAction_;
};
