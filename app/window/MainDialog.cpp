#include "MainDialog.h"

#include "AboutBox.h"
#include "DialogControls.h"
#include "DialogPainting.h"
#include "SystemMenu.h"
#include "resource.h"

#include <windowsx.h>

#include <string>

namespace orvo {
namespace {

constexpr COLORREF kVersionColour = RGB(127, 127, 127);
constexpr COLORREF kTitleColour = RGB(255, 0, 0);
constexpr RECT kVersionRect = {240, 340, 355, 355};
constexpr RECT kTitleRect = {-171, 1, 355, 355};
// The background image; its inner panel holds every control.
constexpr int kBackgroundWidth = 480;
constexpr int kBackgroundHeight = 360;

struct Face {
    int control;
    int bitmap;
};
constexpr Face kFaces[] = {{control::kStartUpgrade, IDB_START_UPGRADE},
                           {control::kExit, IDB_EXIT},
                           {control::kReadSn, IDB_READ_SN},
                           {control::kWriteSn, IDB_WRITE_SN}};

// Message boxes carry the program's name, as its file is called.
std::wstring ProgramName() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring name(path);
    name.erase(0, name.find_last_of(L"\\/") + 1);
    return name.substr(0, name.rfind(L'.'));
}

}  // namespace

MainDialog::MainDialog(HINSTANCE instance, PipeLibrary& pipes)
    : instance_(instance),
      pipes_(pipes),
      icon_(LoadIconW(instance, MAKEINTRESOURCEW(IDR_MAINFRAME))) {}

bool MainDialog::OnMessage(UINT message, WPARAM w, LPARAM l, INT_PTR& result) {
    switch (message) {
        case WM_INITDIALOG:
            OnInitDialog();
            result = TRUE;  // the focus goes to the first tab stop: the Exit button
            return true;
        case WM_SYSCOMMAND:
            return OnSysCommand(w);
        case WM_PAINT:
            return OnPaint();
        case WM_QUERYDRAGICON:
            result = reinterpret_cast<INT_PTR>(icon_);
            return true;
        case WM_COMMAND:
            OnCommand(LOWORD(w), HIWORD(w));
            return true;
        case WM_TIMER:
            OnTimer(w);
            return false;
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORSCROLLBAR:
            result = reinterpret_cast<INT_PTR>(
                skin_.OnCtlColor(Handle(), reinterpret_cast<HDC>(w), reinterpret_cast<HWND>(l)));
            return true;
        case WM_NCHITTEST:
            return OnNcHitTest(l);
        case WM_QUERYENDSESSION:
            // Ending the session would cut the device off half-way through its firmware.
            if (logic_ && logic_->UpgradeRunning()) {
                RefuseEndOfSession();
                SetMessageResult(FALSE);
                result = TRUE;
                return true;
            }
            TakeBackShutdownReason();
            return false;
        case WM_ENDSESSION:
            TakeBackShutdownReason();
            return false;
        case WM_DESTROY:
            TakeBackShutdownReason();
            if (logic_) {
                logic_->OnDestroy();
            }
            return false;
        default:
            return false;
    }
}

void MainDialog::OnInitDialog() {
    bar_.Attach(Item(control::kProgress));
    controls_.emplace(Handle(), bar_, ProgramName());
    logic_ = std::make_unique<MainDialogLogic>(*controls_, pipes_);

    SetWindowTextW(Handle(), kWindowTitle);
    AddAboutEntry();
    SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));

    // The number a technician reads off: Arial, which every Windows has, at the field's height and
    // its own width. The System font at width 2 squeezed the twelve digits into some 22 px
    // wherever it scales, as under Wine.
    snFieldFont_.Reset(CreateFontW(14, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, 0, 0,
                                   0, FF_SWISS | VARIABLE_PITCH, L"Arial"));
    SendItem(control::kSnField, WM_SETFONT, reinterpret_cast<WPARAM>(snFieldFont_.Get()), TRUE);

    SetButtonFaces();
    ScopedBitmap background(LoadBitmapW(instance_, MAKEINTRESOURCEW(IDB_BACKGROUND)));
    skin_.SetBackground(background.Get());
    FitWindowToBackground();

    logic_->OnInitDialog();
    SetTimer(Handle(), kTitleTimer, 100, nullptr);
}

void MainDialog::AddAboutEntry() {
    wchar_t text[256] = {};
    LoadStringW(instance_, IDS_ABOUTBOX, text, 256);
    AddSystemMenuEntry(Handle(), control::kAboutEntry, text);
}

void MainDialog::SetButtonFaces() {
    for (const Face& face : kFaces) {
        ScopedBitmap bitmap(LoadBitmapW(instance_, MAKEINTRESOURCEW(face.bitmap)));
        SendItem(face.control, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap.Get()));
        faces_.push_back(std::move(bitmap));  // the buttons show them for the window's life
    }
}

void MainDialog::FitWindowToBackground() {
    // The template's size depends on its font, which not every PC has; the skin does not.
    RECT frame{0, 0, kBackgroundWidth, kBackgroundHeight};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_EXSTYLE)));
    SetWindowPos(Handle(), nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER);
}

void MainDialog::OnCommand(int id, int code) {
    if (id == control::kLanguageList) {
        if (code == CBN_SELCHANGE) {
            logic_->OnSelChangeLanguage();
        }
        return;
    }
    if (code != BN_CLICKED) {
        return;
    }
    switch (id) {
        case control::kStartUpgrade:
            logic_->OnStartUpgrade();
            break;
        case control::kReadSn:
            logic_->OnReadSerialNumber();
            break;
        case control::kWriteSn:
            logic_->OnWriteSerialNumber();
            break;
        case control::kMinimise:
            ShowWindow(Handle(), SW_MINIMIZE);
            break;
        case control::kClose:
        case IDOK:
        case IDCANCEL:  // the Exit button and the Esc key
            Close();
            break;
        default:
            break;
    }
}

void MainDialog::Close() {
    if (logic_->MayClose()) {
        End(IDCANCEL);
    }
}

void MainDialog::RefuseEndOfSession() {
    // Set again at each refusal: the language may have changed since the last one.
    shutdownReasonSet_ =
        ShutdownBlockReasonCreate(Handle(), logic_->UpgradeRunningText().c_str()) != FALSE;
}

void MainDialog::TakeBackShutdownReason() {
    if (shutdownReasonSet_) {
        ShutdownBlockReasonDestroy(Handle());
        shutdownReasonSet_ = false;
    }
}

void MainDialog::OnTimer(UINT_PTR timer) {
    if (timer != kTitleTimer) {
        return;
    }
    // The shutdown screen stops naming the tool as soon as the upgrade has ended.
    if (shutdownReasonSet_ && !logic_->UpgradeRunning()) {
        TakeBackShutdownReason();
    }
    DrawWindowText(Handle(), kVersionRect, kVersionColour, logic_->VersionText());
    DrawWindowText(Handle(), kTitleRect, kTitleColour, kWindowTitle);
}

bool MainDialog::OnSysCommand(WPARAM command) {
    if ((command & 0xFFF0) != control::kAboutEntry) {
        return false;
    }
    AboutBox about;
    about.RunModal(instance_, AboutBox::kTemplate, Handle());
    return true;
}

bool MainDialog::OnPaint() {
    if (!IsIconic(Handle())) {
        return false;
    }
    PaintMinimisedIcon(Handle(), icon_);
    return true;
}

bool MainDialog::OnNcHitTest(LPARAM screenPoint) {
    POINT point{GET_X_LPARAM(screenPoint), GET_Y_LPARAM(screenPoint)};
    ScreenToClient(Handle(), &point);
    RECT client{};
    GetClientRect(Handle(), &client);
    if (!PtInRect(&client, point)) {
        return false;
    }
    // Pressing the mouse anywhere on the background drags the window.
    SetMessageResult(HTCAPTION);
    return true;
}

}  // namespace orvo
