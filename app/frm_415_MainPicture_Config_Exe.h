#pragma once
// The program's one window: five check boxes for the machine's options, OK, Cancel and the
// question-mark button of the help mode.

#include "app/ButtonPictures.h"

#include <QString>
#include <QWidget>

#include <array>

class QCheckBox;
class QCloseEvent;
class QFrame;
class QLabel;

class frm_415_MainPicture_Config_Exe : public QWidget {
    Q_OBJECT

public:
    // Builds every control from the window's design (app/WindowDesign.h): client area
    // 792 x 573 pixels, all light grey, CommandOK disabled, tab order by tab index. Registers
    // itself as the program's window (programWindow()) for its lifetime.
    explicit frm_415_MainPicture_Config_Exe(QWidget* parent = nullptr);
    ~frm_415_MainPicture_Config_Exe() override;

    // The controls, in the window's control order.
    PictureButton* CommandQuest = nullptr;
    PictureButton* CommandCancel = nullptr;
    PictureButton* CommandOK = nullptr;
    QFrame* MainFrame = nullptr;
    QFrame* FrameBobinenBock = nullptr;
    QCheckBox* CheckFaden = nullptr;
    QCheckBox* CheckBobRechtsFadenAnMasch = nullptr;
    QCheckBox* CheckOhneBobinen = nullptr;
    QCheckBox* CheckBobbineLinks = nullptr;
    QCheckBox* CheckEtikette = nullptr;
    QLabel* Header = nullptr;

    // The window became the program's active window (the first activation after each show;
    // closing a message box of the program is none): enables CommandOK.
    void Form_Activate();
    // The window's size changed: nothing. The controls keep their designed places and sizes;
    // a larger window only shows more grey.
    void Form_Resize();

    // Click notifications of the check boxes, raised for a click and, at once, whenever the
    // program changes a box's value. Each hands its box to CheckInfoClick.
    void CheckFaden_Click();
    void CheckBobRechtsFadenAnMasch_Click();
    void CheckOhneBobinen_Click();
    void CheckBobbineLinks_Click();
    void CheckEtikette_Click();

    // Start-up, option editing and leaving the dialog; each defined with its own operation.
    void Form_Load();
    void SetupUserInterFace();
    void CloseMe();
    void Form_QueryUnload(bool& cancel, int unloadMode);
    void CommandOK_Click();
    void CommandCancel_Click();
    void CommandQuest_Click();
    bool ConfirmCancel();

    // The path of jx5configuration.ini found during start-up, or empty text.
    QString ConfigurationIniFile;

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    // Every close the window frame asks for goes through Form_QueryUnload.
    void closeEvent(QCloseEvent* event) override;

private:
    void WriteInputs();

    void buildControls();
    void orderTabs();
    void connectCheckBoxClicks();
    void connectButtonClicks();

    bool activatedSinceShown_ = false;
    // What the start-up showed in each option's box, bit 0 first, and whether that bit was
    // read from the file: a box whose bit could not be read is stored only as the user set it.
    std::array<qint16, 5> shownOptions_{};
    std::array<bool, 5> optionRead_{};
};
