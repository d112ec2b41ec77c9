#include "tools/SysInfo.h"

namespace {

struct Item {
    kit::TKitInfoType info;
    int tabs;
};

constexpr int RowHeight = 17;

}  // namespace

TFormSysInfo::TFormSysInfo(rtl::TComponent* owner) : gui::TForm(owner) {
    SetName("FormSysInfo");
    SetCaption("Systeminformationen");
    SetBorderStyle(gui::bsSingle);
    SetBorderIcons(gui::biSystemMenu);
    SetPosition(gui::poScreenCenter);
    // Belongs to the main window: stays above it, not lost behind it.
    if (gui::Application) SetPopupParent(gui::Application->MainForm());
    SetClientWidth(880);
    SetClientHeight(472);

    using namespace kit;
    auto group = [this](const char* caption, int left, int top, int width,
                        std::initializer_list<Item> items) {
        auto* g = new gui::TGroupBox(this);
        g->SetParent(this);
        g->SetCaption(caption);
        g->SetBounds(left, top, width, 26 + static_cast<int>(items.size()) * RowHeight);
        int y = 20;
        for (const Item& it : items) {
            auto* l = new TInformationLabel(this);
            l->SetParent(g);
            l->SetLeft(10);
            l->SetTop(y);
            l->SetDateTimeFormat(it.info == itCurrentDateTime ? "dd.MM.yyyy hh:mm:ss" : "dd.MM.yyyy");
            l->SetInsertTabs(it.tabs);
            l->SetInfo(it.info);
            Labels.push_back(l);
            y += RowHeight;
        }
        return g;
    };
    GBPfade = group("Pfade", 8, 8, 424,
                    {{itTempPath32, 2}, {itSystemDir, 2}, {itCurrentDir32, 2}, {itWinDir, 1}});
    GBResourcen = group("Resourcen", 8, 110, 424,
                        {{itMemFree32, 3}, {itMemPageFree32, 2}, {itMemPageTotal32, 2},
                         {itMemVirtFree32, 2}, {itMemVirtTotal32, 2}, {itFreeGDIRes, 2},
                         {itFreeSysRes, 2}, {itFreeUserRes, 2}, {itMemSize, 3},
                         {itMemLoaded32, 3}, {itCurrentDiskFree32, 1}, {itCurrentDiskSize32, 2}});
    GBSoftware = group("Software", 440, 8, 432,
                       {{itProgCompany, 2}, {itProgCopyright, 2}, {itProgDescription, 2},
                        {itProgName, 2}, {itProgTrademark, 2}, {itProgVersion, 3},
                        {itReg_Company32, 1}, {itProgComments, 2}, {itFileVersionFull, 3},
                        {itMajorVerNr32, 2}, {itVersion, 3}});
    GBSystem = group("System", 440, 230, 432,
                     {{itPlatform32, 3}, {itPlatformID32, 2}, {itProcessor32, 2},
                      {itDOSVersion, 2}, {itColorDepth, 1}, {itProcessorCont32, 1},
                      {itScreenSaverDelay, 1}, {itUser, 2}, {itComputerName32, 2},
                      {itCPUSpeed, 2}, {itCurrentDateTime, 2}, {itBuildNr32, 3}});
    GBTasten = group("Tasten", 8, 348, 424, {{itScroll, 1}, {itNumLock, 1}, {itCapsLock, 1}});

    OnClose = [this](rtl::TObject* s, gui::TCloseAction& a) { FormClose(s, a); };
}

void TFormSysInfo::FormClose(rtl::TObject*, gui::TCloseAction& Action) { Action = gui::caFree; }
