#pragma once
// The program's one window: five check boxes for the machine's options, OK, Cancel and the
// question-mark button of the help mode. It shows the dialog's model and hands its events to
// the dialog's operations (dialog/Dialog.h), which hold the state and do the work.

#include "dialog/Dialog.h"
#include "window/ButtonPictures.h"

#include <QString>
#include <QWidget>

#include <vector>

class QCheckBox;
class QCloseEvent;
class QFrame;
class QLabel;

class frm_415_MainPicture_Config_Exe : public QWidget, private DialogView {
    Q_OBJECT

public:
    // Builds every control from the window's design (model/WindowDesign.h): client area
    // 792 x 573 pixels, all light grey, tab order by tab index, each widget showing its
    // control in the model (CommandOK disabled).
    explicit frm_415_MainPicture_Config_Exe(QWidget* parent = nullptr);
    ~frm_415_MainPicture_Config_Exe() override;

    Dialog& dialog() { return dialog_; }

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

    // The window's events, as the dialog's operations.
    void Form_Load() { dialog_.Form_Load(); }
    void CommandOK_Click() { dialog_.CommandOK_Click(); }
    void CommandCancel_Click() { dialog_.CommandCancel_Click(); }
    // The question-mark button's click: switches the help mode and tells screen readers.
    void CommandQuest_Click();

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    // Every close the window frame asks for goes through Form_QueryUnload.
    void closeEvent(QCloseEvent* event) override;

private:
    void controlChanged(int index) override;
    void titleChanged() override;

    void buildControls();
    void orderTabs();
    void connectControls();

    Dialog dialog_;
    // The widget of each control of the model, by its index.
    std::vector<QWidget*> widgets_;
    bool activatedSinceShown_ = false;
};
