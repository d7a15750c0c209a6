// The application: it runs the main window modally and ends when the window ends.
#include "ImportedPipeLibrary.h"
#include "MainDialog.h"
#include "win32/DllSearch.h"

#include <commctrl.h>
#include <windows.h>

namespace orvo {
namespace {

class UpgradeApp {
public:
    explicit UpgradeApp(HINSTANCE instance) : instance_(instance) {}

    // Returns FALSE, as the application has no message loop of its own.
    BOOL InitInstance() {
        INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&classes);
        ImportedPipeLibrary pipes;
        MainDialog dialog(instance_, pipes);
        dialog.Run();
        return FALSE;
    }

private:
    HINSTANCE instance_;
};

}  // namespace
}  // namespace orvo

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    // Before anything loads a DLL: never from the current directory, the data folder.
    orvo::RestrictDllSearch();
    orvo::UpgradeApp app(instance);
    app.InitInstance();
    return 0;
}
