#pragma once
// The tool's one window: a borderless skinned dialog from template 102. It draws; the portable
// logic decides.
#include "Dialog.h"
#include "DialogSkin.h"
#include "DialogWindowControls.h"
#include "MainDialogLogic.h"
#include "PipeLibrary.h"
#include "ScopedGdi.h"
#include "TextProgressBar.h"

#include <memory>
#include <optional>
#include <vector>

namespace orvo {

class MainDialog : public Dialog {
public:
    MainDialog(HINSTANCE instance, PipeLibrary& pipes);
    INT_PTR Run() { return RunModal(instance_, kTemplate); }

protected:
    bool OnMessage(UINT message, WPARAM w, LPARAM l, INT_PTR& result) override;

private:
    static constexpr int kTemplate = 102;
    static constexpr UINT_PTR kTitleTimer = 102;

    void OnInitDialog();
    void OnCommand(int id, int code);
    void OnTimer(UINT_PTR timer);
    bool OnSysCommand(WPARAM command);
    bool OnPaint();
    bool OnNcHitTest(LPARAM screenPoint);
    void Close();
    // A refused end of the session gives Windows its reason, T10 in the current language, which
    // its shutdown screen shows; it is taken back once no upgrade runs.
    void RefuseEndOfSession();
    void TakeBackShutdownReason();
    void AddAboutEntry();
    void SetButtonFaces();
    void FitWindowToBackground();

    HINSTANCE instance_;
    PipeLibrary& pipes_;
    HICON icon_;
    bool shutdownReasonSet_ = false;
    std::vector<ScopedBitmap> faces_;
    ScopedFont snFieldFont_;
    DialogSkin skin_;
    TextProgressBar bar_;
    std::optional<DialogWindowControls> controls_;
    // Last: destroyed first, so a worker it still holds is waited for while all it uses lives.
    std::unique_ptr<MainDialogLogic> logic_;
};

}  // namespace orvo
