#pragma once

#include <QElapsedTimer>
#include <QMainWindow>
#include <QPointer>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "RunResult.h"
#include "RunWindow.h"

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;

namespace kelbrin {

class frmHowTo;

// The main window: two buttons and two File menu items start an expansion run, the status
// line and the MD5 row follow it, and the Help menu opens the help window and the About box.
// The window is the run's RunWindow; it reads no file and checks nothing itself.
class frmKelbrin : public QMainWindow, public RunWindow {
public:
    // `programDirectory` is where the run finds Kelbrin.txt and the ROM files: the folder of
    // the executable, as 8-bit text.
    explicit frmKelbrin(std::string programDirectory);
    ~frmKelbrin() override;

    // One expansion run: 0 adds or replaces the header, any other index leaves it out.
    RunResult Expand(std::int16_t Index);

    void cmdExpand_Click(std::int16_t Index);
    void mnuFile_Expand_Click(std::int16_t Index);
    void mnuFile_Exit_Click();
    void mnuHelp_HowTo_Click();
    void mnuHelp_About_Click();

    // The text of the About box, read from the title labels each time.
    QString AboutText() const;
    bool IsRunning() const noexcept { return running_; }
    // How the last run started from the window ended, if there was one.
    const std::optional<RunResult>& LastRun() const noexcept { return lastRun_; }
    // The open help window, if any.
    frmHowTo* HowToWindow() const;

    // Ends the process at once: Exit, or closing the window, while a run is under way.
    // Tests replace it.
    std::function<void()> EndProgram;

    QGroupBox* fraDownloader = nullptr;
    QLineEdit* txtMD5 = nullptr;
    std::array<QPushButton*, 2> cmdExpand{};
    QLabel* lblMD5 = nullptr;
    QLabel* lblStatus = nullptr;
    std::array<QLabel*, 3> lblTitle{};

    QMenu* mnuFile = nullptr;
    std::array<QAction*, 2> mnuFile_Expand{};
    QAction* mnuFile_Exit = nullptr;
    QMenu* mnuHelp = nullptr;
    QAction* mnuHelp_HowTo = nullptr;
    QAction* mnuHelp_About = nullptr;

    // What the run sees of the window.
    void SetStatus(const std::string& text) override;
    void ShowMD5(const std::string& digest) override;
    void HideMD5() override;
    void LetEventsRun() override;
    void ShowMessageBox(const std::string& message, const std::string& title,
                        MessageBoxIcon icon) override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateControls();
    void CreateMenus();
    void EnableExpandControls(bool Enable);

    std::string programDirectory_;
    QElapsedTimer statusPainted_;
    bool running_ = false;
    std::optional<RunResult> lastRun_;
    QPointer<frmHowTo> howTo_;
};

} // namespace kelbrin
