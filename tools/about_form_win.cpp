#include "tools/about_form_win.h"

#include "res/resource.h"
#include "tools/bevel_label_win.h"
#include "win/button_glyph.h"
#include "win/text.h"
#include "win/window.h"

namespace torvane {

namespace {

// The layout in pixels at 96 dots per inch: a panel with an inner border of 10 around the
// icon, the two top lines, the copyright line and the comments box; OK below it on the right.
constexpr int kClientWidth = 312, kClientHeight = 207;
constexpr int kPanelLeft = 8, kPanelTop = 8, kPanelWidth = 296, kPanelHeight = 161;
constexpr int kInner = 10;
constexpr int kIconSize = 32;
constexpr int kTextLeft = kPanelLeft + kInner + kIconSize + 8;
constexpr int kTextWidth = kPanelLeft + kPanelWidth - kInner - kTextLeft;
constexpr int kBandLeft = kPanelLeft + kInner, kBandWidth = kPanelWidth - 2 * kInner;
constexpr int kCommentsHeight = 60;
constexpr int kCommentsTop = kPanelTop + kPanelHeight - kInner - kCommentsHeight;
constexpr int kButtonWidth = 75, kButtonHeight = 25;

}  // namespace

TAboutForm::TAboutForm() : Dialog(IDD_ABOUTFORM) {}

TAboutForm::~TAboutForm() {
    if (boldFont_) DeleteObject(boldFont_);
}

bool TAboutForm::OnInitDialog() {
    CreateComments();
    font_.ApplyTo(Handle());
    LOGFONTW bold{};
    GetObjectW(font_.Handle(), sizeof bold, &bold);
    bold.lfWeight = FW_BOLD;
    boldFont_ = CreateFontIndirectW(&bold);
    SendMessageW(Item(IDC_ABOUT_VERSION), WM_SETFONT, reinterpret_cast<WPARAM>(boldFont_), FALSE);

    win::SetWindowTextSjis(Handle(), caption);
    win::SetWindowTextSjis(Item(IDC_ABOUT_PRODUCT), productName);
    // The version text breaks its line with a bare line feed, which a static control shows as
    // a break only when it follows a carriage return.
    std::string versionLines;
    for (char c : version) versionLines += c == '\n' ? std::string("\r\n") : std::string(1, c);
    win::SetWindowTextSjis(Item(IDC_ABOUT_VERSION), versionLines);
    win::SetWindowTextSjis(Item(IDC_ABOUT_COPYRIGHT), copyright);
    if (TBevelLabel* label = TBevelLabel::From(Item(IDC_ABOUT_COMMENTS))) label->SetCaption(comments);
    SendMessageW(Item(IDC_ABOUT_ICON), STM_SETICON,
                 reinterpret_cast<WPARAM>(LoadIconW(GetModuleHandleW(nullptr), L"MAINICON")), 0);
    win::SetButtonGlyph(Item(IDOK), win::ButtonGlyph::Ok);
    LayOut();
    SetFocus(Item(IDOK));
    return false;
}

// A sunken box with 4 pixels around the wrapped text, placed by LayOut.
void TAboutForm::CreateComments() {
    TBevelLabel::Register();
    TBevelLabel* label = TBevelLabel::Create(Handle(), IDC_ABOUT_COMMENTS, 0, 0, 10, 10);
    if (!label) return;
    label->SetBevelOuter(TBevelLabel::Bevel::Lowered);
    label->SetBevelInner(TBevelLabel::Bevel::None);
    label->SetTextBorder(4);
    label->SetWordWrap(true);
}

void TAboutForm::LayOut() {
    const HWND dialog = Handle();
    const int dpi = win::ScreenDpi(dialog);
    auto px = [dpi](int value) { return MulDiv(value, dpi, 96); };

    win::SetClientSize(dialog, px(kClientWidth), px(kClientHeight));
    win::PlaceItem(dialog, IDC_ABOUT_PANEL, px(kPanelLeft), px(kPanelTop), px(kPanelWidth), px(kPanelHeight));
    win::PlaceItem(dialog, IDC_ABOUT_ICON, px(kBandLeft), px(kPanelTop + kInner), px(kIconSize), px(kIconSize));
    win::PlaceItem(dialog, IDC_ABOUT_PRODUCT, px(kTextLeft), px(kPanelTop + kInner), px(kTextWidth), px(16));
    win::PlaceItem(dialog, IDC_ABOUT_VERSION, px(kTextLeft), px(kPanelTop + kInner + 20), px(kTextWidth), px(30));
    win::PlaceItem(dialog, IDC_ABOUT_COPYRIGHT, px(kBandLeft), px(kCommentsTop - 22), px(kBandWidth), px(16));
    win::PlaceItem(dialog, IDC_ABOUT_COMMENTS, px(kBandLeft), px(kCommentsTop), px(kBandWidth), px(kCommentsHeight));
    win::PlaceItem(dialog, IDOK, px(kPanelLeft + kPanelWidth - kButtonWidth), px(kPanelTop + kPanelHeight + 6),
                   px(kButtonWidth), px(kButtonHeight));

    RECT window;
    GetWindowRect(dialog, &window);
    const SIZE size{window.right - window.left, window.bottom - window.top};
    const POINT origin = place ? place(size) : POINT{window.left, window.top};
    SetWindowPos(dialog, nullptr, origin.x, origin.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace torvane
