#pragma once

#include <QWidget>
#include <array>
#include <cstdint>

class QFrame;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace kelbrin {

// The help window: two fixed pages, how to use Kelbrin and how to write Kelbrin.txt, chosen
// by two option buttons. A top-level window with no owner; closing it destroys it.
class frmHowTo : public QWidget {
public:
    frmHowTo();

    void Form_Load();
    // Shows page `Index`: its text box and its colour strip; the other page's are hidden.
    void optPart_Click(std::int16_t Index);
    void cmdOK_Click();

    std::array<QPlainTextEdit*, 2> txtHowTo{};
    std::array<QRadioButton*, 2> optPart{};
    QPushButton* cmdOK = nullptr;
    QLabel* Image1 = nullptr; // the sample's expanded image
    QLabel* Image2 = nullptr; // the sample's original image
    std::array<QFrame*, 2> Shape{};
};

} // namespace kelbrin
