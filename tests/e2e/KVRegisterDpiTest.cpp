// The wizard at the display's scale, end to end with the shipped layout and wording. The
// suite runs with the others at 96 DPI, and again at 144 DPI (150 %) in a Wine prefix of its
// own; KV_EXPECT_DPI names the resolution a run must find, so that a prefix that lost its
// setting fails instead of testing 96 twice.
#include <array>
#include <string>
#include <vector>

#include "driver/KVTextFit.h"
#include "driver/KVWindowText.h"
#include "register/view/KVRegisterConfig.h"
#include "vuda32/File/QFile.h"
#include "tests/e2e/KVWizardFixture.h"
#include "tests/support/KVDisplayDpi.h"

namespace {

const int kBaseDpi = 96;
const int kFontPoints = 8;

// The system's own rounding, not the product's: a rectangle of 96-DPI pixels at `dpi`.
RECT At(const RECT& r, int dpi) {
    return RECT{MulDiv(r.left, dpi, kBaseDpi), MulDiv(r.top, dpi, kBaseDpi), MulDiv(r.right, dpi, kBaseDpi),
                MulDiv(r.bottom, dpi, kBaseDpi)};
}

std::array<LONG, 4> Corners(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

// The caption's icon: the window's own, else its class's.
int SmallIconSize(HWND window) {
    HICON icon = reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, ICON_SMALL, 0));
    if (icon == nullptr) icon = reinterpret_cast<HICON>(GetClassLongPtrA(window, GCLP_HICONSM));
    ICONINFO info{};
    if (icon == nullptr || !GetIconInfo(icon, &info)) return 0;
    BITMAP bits{};
    GetObjectA(info.hbmColor != nullptr ? info.hbmColor : info.hbmMask, sizeof bits, &bits);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return bits.bmWidth;
}

// The shipped installation's layout as 96-DPI rectangles: the file's components and the
// window's own controls that every page places alike. A button and a label may share an id.
struct Place {
    int id;
    bool button;
    RECT base;
    bool title = false;  // drawn in bold
};
std::vector<Place> Places(const KVRegisterConfig& config) {
    std::vector<Place> places;
    const int w = config.width, h = config.height;
    for (const KVConfigComponent& c : config.components) {
        places.push_back(
            {c.row->labelControlId, false, RECT{c.label.left, c.label.top, c.label.right, c.label.bottom}});
        if (c.row->inputControlId != 0)
            places.push_back(
                {c.row->inputControlId, false, RECT{c.input.left, c.input.top, c.input.right, c.input.bottom}});
    }
    for (int title : {ID_QUERYREGISTER_TITLE, ID_USERINFO_TITLE, ID_PENDING_TITLE, ID_VALIDATE_TITLE})
        places.push_back({title, false, RECT{23, 9, w + 66, 23}, true});
    for (int subtitle : {ID_QUERYREGISTER_SUBTITLE, ID_USERINFO_SUBTITLE})
        places.push_back({subtitle, false, RECT{44, 24, w + 66, 50}});
    for (int next : {ID_QUERYREGISTER_NEXT, ID_USERINFO_NEXT, ID_VALIDATE_FINISH})
        places.push_back({next, true, RECT{w - 176, h - 58, w - 101, h - 35}});
    places.push_back({ID_USERINFO_BACK, true, RECT{w - 251, h - 58, w - 176, h - 35}});
    places.push_back({ID_VALIDATE_BACK, true, RECT{w - 251, h - 58, w - 176, h - 35}});
    places.push_back({ID_CANCEL, true, RECT{w - 91, h - 58, w - 16, h - 35}});
    places.push_back({ID_REGCODE, false, RECT{43, 199, 221, 220}});
    return places;
}

// What a person sees of the page at `dpi`: the window at its scaled size, the controls of the
// layout where their rectangles land, every control's font at the scaled height (titles
// bold), the window's icons at the scaled sizes, and every text whole.
void ExpectPageAt(KVWizardDriver& d, const KVRegisterConfig& config, int dpi) {
    d.Settle();
    const HWND wizard = d.Wizard();
    ASSERT_NE(nullptr, wizard);
    SCOPED_TRACE(std::string(KVNamesOf(d.Page()).constant) + " page at " + std::to_string(dpi) + " DPI");
    RECT window;
    GetWindowRect(wizard, &window);
    EXPECT_EQ(MulDiv(config.width, dpi, kBaseDpi), window.right - window.left);
    EXPECT_EQ(MulDiv(config.height, dpi, kBaseDpi), window.bottom - window.top);
    // The class's icons at 96 DPI, the window's own at the sizes the scale asks for elsewhere.
    EXPECT_EQ(MulDiv(16, dpi, kBaseDpi), SmallIconSize(wizard));

    int placed = 0;
    for (HWND control = GetWindow(wizard, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT)) {
        if (!IsWindowVisible(control)) continue;
        const int id = GetDlgCtrlID(control);
        SCOPED_TRACE("control " + std::to_string(id) + " \"" + KVWindowText(control) + "\"");
        const std::string kind = KVWindowClass(control);
        RECT got;
        GetWindowRect(control, &got);
        MapWindowPoints(nullptr, wizard, reinterpret_cast<POINT*>(&got), 2);
        bool bold = false;
        for (const Place& place : Places(config)) {
            if (place.id != id || place.button != (kind == "Button")) continue;
            RECT want = At(place.base, dpi);
            // A closed drop-down list is as high as its font makes it, not as its list.
            if (kind == "ComboBox") want.bottom = got.bottom;
            EXPECT_EQ(Corners(want), Corners(got));
            ++placed;
            bold = bold || place.title;
        }
        LOGFONTA font{};
        GetObjectA(reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)), sizeof font, &font);
        EXPECT_EQ(-MulDiv(kFontPoints, dpi, 72), font.lfHeight);
        EXPECT_EQ(bold ? FW_BOLD : FW_NORMAL, font.lfWeight);
        const KVTextFit fit = KVMeasureTextFit(control);
        EXPECT_TRUE(fit.Fits()) << "needs " << fit.neededWidth << "x" << fit.neededHeight << " px in " << fit.font
                                << ", shows " << fit.width << "x" << fit.height;
    }
    EXPECT_GE(placed, 2) << "the page shows too few controls of the layout";
}

class KVRegisterDpiTest : public KVWizardFixture {
protected:
    void SetUp() override {
        ASSERT_TRUE(KVDisplayAtExpectedDpi(dpi_));
        pages_ = std::string(KV_PAGES_DIR) + "-dpi" + std::to_string(dpi_);
    }

    // The shipped installation: its layout, wording, icons and header image.
    KVWizardHost& InstallShipped() {
        const std::string shipped = KV_SHIPPED_ROOT;
        config_ = KVParseRegisterConfig(QFile::ReadWhole(shipped + "\\register.cfg"));
        KVWizardHost& host = Install({"placeholder"});
        for (const char* folder : {"\\Icons", "\\Bitmaps"}) CreateDirectoryA((host.Folder() + folder).c_str(), nullptr);
        for (const char* name : {"\\register.cfg", "\\register.lang", "\\registercompany.lang",
                                 "\\Icons\\ApplicationLarge.ico", "\\Icons\\ApplicationSmall.ico",
                                 "\\Bitmaps\\Register.bmp"})
            EXPECT_TRUE(CopyFileA((shipped + name).c_str(), (host.Folder() + name).c_str(), FALSE)) << name;
        return host;
    }

    int dpi_ = kBaseDpi;
    std::string pages_;  // where the pictures go
    KVRegisterConfig config_;  // the shipped layout
};

// The five pages of a sign-up at the display's scale. A window moved to a monitor of another
// scale hears of it by WM_DPICHANGED: it takes the rectangle the system suggests and lays its
// page out again, fonts and icons included; back on the first monitor it is as it was.
TEST_F(KVRegisterDpiTest, SignUpAtTheDisplaysScaleAndAfterAMoveToAnother) {
    KVWizardHost& host = InstallShipped();
    Step(host, KVResult(KVRESULT_NONE), KVACTION_QUERYREGISTER, [this](KVWizardDriver& d) {
        FillFirstPage(d, true);
        ExpectPageAt(d, config_, dpi_);
        SavePage(d, "1-query-register", pages_);
        const HWND wizard = d.Wizard();
        RECT before;
        GetWindowRect(wizard, &before);
        const int other = dpi_ == 192 ? 120 : 192;
        // On the screen as a whole, so that its picture shows all of it.
        RECT suggested{0, 0, MulDiv(config_.width, other, kBaseDpi), MulDiv(config_.height, other, kBaseDpi)};
        SendMessageA(wizard, WM_DPICHANGED, MAKEWPARAM(other, other), reinterpret_cast<LPARAM>(&suggested));
        RECT moved;
        GetWindowRect(wizard, &moved);
        EXPECT_EQ(Corners(suggested), Corners(moved));
        ExpectPageAt(d, config_, other);
        SavePage(d, "query-register-moved-to-" + std::to_string(other), pages_);

        SendMessageA(wizard, WM_DPICHANGED, MAKEWPARAM(dpi_, dpi_), reinterpret_cast<LPARAM>(&before));
        ExpectPageAt(d, config_, dpi_);
        EXPECT_EQ(kMsisdn, d.Text(KVInputId(COMPONENT_MSISDN)));
        d.Click(ID_QUERYREGISTER_NEXT);
    });

    Step(host, KVResult(KVRESULT_QUERIEDREGISTER), KVACTION_REGISTER, [this](KVWizardDriver& d) {
        d.WaitForPage(KVPages::PAGE_USERINFO);
        d.Type(KVInputId(COMPONENT_USERNAME), "Kari Nordmann");
        d.Type(KVInputId(COMPONENT_USERPASSWORD), "hemmelig");
        ExpectPageAt(d, config_, dpi_);
        // The header image stretched into its scaled square at the band's right end, the
        // band white around it: the check mark's disc, low on the right of the picture, lies
        // beyond where the picture would end unstretched.
        const RECT image = At(RECT{config_.width - 48, 13, config_.width - 16, 45}, dpi_);
        EXPECT_NE(RGB(255, 255, 255),
                  d.ClientPixel(image.left + MulDiv(25, dpi_, kBaseDpi), image.top + MulDiv(27, dpi_, kBaseDpi)));
        EXPECT_EQ(RGB(255, 255, 255), d.ClientPixel(image.left - 2, (image.top + image.bottom) / 2));
        SavePage(d, "2-user-info", pages_);
        d.Click(ID_USERINFO_NEXT);
    });

    // The pages after the forms; the pending page sends the registration again by itself.
    struct Stop {
        KVResultRecord result;
        int action;
        KVPages::Page page;
        const char* picture;
    };
    KVResultRecord pending = KVResult(KVRESULT_PENDING), registered = KVResult(KVRESULT_REGISTERED);
    pending.WaitSeconds = 1;
    registered.InfoText = "welcome";
    for (const Stop& stop : {Stop{pending, KVACTION_REGISTER, KVPages::PAGE_PENDING, "3-pending"},
                             Stop{KVResult(KVRESULT_VALIDATE), KVACTION_VALIDATE, KVPages::PAGE_VALIDATE, "4-validate"},
                             Stop{registered, KVACTION_FINISHED, KVPages::PAGE_REGISTERINFO, "5-register-info"}})
        Step(host, stop.result, stop.action, [this, &stop](KVWizardDriver& d) {
            d.WaitForPage(stop.page);
            if (stop.page == KVPages::PAGE_VALIDATE) d.Type(ID_REGCODE, "4711");
            ExpectPageAt(d, config_, dpi_);
            SavePage(d, stop.picture, pages_);
            if (stop.page != KVPages::PAGE_PENDING) d.Click(ID_VALIDATE_FINISH);
        });
}

}  // namespace
