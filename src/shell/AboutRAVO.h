// The about-the-maker window: the maker's lines of business, name, web address and a short
// description, every text from the string table (ids 200-232) but the web address, which is the
// installation's setting MakerSite.  Labels whose text is empty are not shown.
#pragma once

#include <QDialog>
#include <array>

class QLabel;
class QPushButton;

class AboutRAVO : public QDialog {
    Q_OBJECT
public:
    explicit AboutRAVO(QWidget* parent = nullptr);

    std::array<QLabel*, 33> Label2{};  // label i shows text 200 + i; 25 is the web address
    QPushButton* Command1 = nullptr;     // close

    // A click on label index: label 25 opens its address in the system's browser.
    void Label2_Click(int index);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
