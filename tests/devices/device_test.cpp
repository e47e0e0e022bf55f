// Devices on a whole skin: the golden views, drops on the calendar with their proposal,
// balloon and cursor, drag rules between devices and the enabled flags of a
// drag, the look by name and state, labels, state pictures, tool hints,
// clicks; and the lines between devices.
#include "skin_fixture.h"

#include "devices/ItemConnectLines.h"
#include "frame/QMainScreenInternal.h"

using namespace caltest;
using namespace skintest;

namespace {

// `level` of `color` over the background, per channel.
COLORREF Over(int level, COLORREF color, int bg = kBg) {
    auto mix = [&](int c) { return (c * level + bg * (255 - level)) / 255; };
    return RGB(mix(GetRValue(color)), mix(GetGValue(color)), mix(GetBValue(color)));
}

void ExpectNear(COLORREF got, COLORREF want, const std::string& what) {
    EXPECT_NEAR(GetRValue(got), GetRValue(want), 3) << what;
    EXPECT_NEAR(GetGValue(got), GetGValue(want), 3) << what;
    EXPECT_NEAR(GetBValue(got), GetBValue(want), 3) << what;
}

// What shows in the middle of the 3 x 3 dot at `p`, and whether it keeps out of `r`.
COLORREF DotPixel(SkinScene& s, CPoint p) {
    return s.Pixel(SkinScene::X(p.x + 1), SkinScene::Y(p.y + 1));
}
bool Outside(CPoint p, const CRect& r) {
    CRect dot(p.x, p.y, p.x + 3, p.y + 3), common;
    return !common.IntersectRect(&dot, &r);
}

}  // namespace

TEST(Device, GoldenViewsThenDragsProposeReservationsAndKeepTheRulesBetweenDevices) {
    SkinScene s;
    s.screen->SetStateCDDVD(2);
    s.screen->SetStateSpeaker(1);
    s.screen->SetStateConnect("CD/DVD", "SPEAKER");
    const std::string dir = std::string(QUILLON_SOURCE_DIR) + "/tests/devices/golden/";
    const char* views[] = {"audio", "luncher", "timer"};
    for (int view = 0; view < 3; ++view) {
        s.screen->SetViewMode(view);
        s.h.AdvanceMs(0);
        EXPECT_TRUE(s.h.MatchesGolden(dir + views[view] + ".png", 2)) << views[view];
    }
    // MD held over Tuesday 21:00: the frame, the proposal and its balloon.
    const CPoint md = SkinScene::At(400), at21(SkinScene::LineX(21, 0), SkinScene::RowY(kTue));
    s.h.Hold(md, at21);
    EXPECT_TRUE(s.h.MatchesGolden(dir + "timer_device_drag.png", 2));
    EXPECT_EQ(s.h.CursorId(), kArrow);
    const CalDragInfo* d = s.Cal()->GetDragInfo();
    ASSERT_NE(d, nullptr);
    EXPECT_TRUE(d->shown && d->grip == -1);
    EXPECT_EQ(Str(d->changed.GetBeginTime()), "2025-01-07 21:00");
    EXPECT_TRUE(d->changed.GetKind() == 1 && d->changed.GetSlotNo() == 1);
    ASSERT_EQ(s.h.DrawnTexts().size(), 3u);
    EXPECT_EQ(s.h.DrawnTexts()[0], S("予約設定"));
    // The calendar cannot be told apart from nowhere at the drag's start.
    EXPECT_FALSE(s.Cal()->IsEnabled());
    s.h.LButtonUp(at21.x, at21.y);
    EXPECT_EQ(s.Cal()->GetDragInfo(), nullptr);
    EXPECT_TRUE(s.Cal()->IsEnabled());
    ASSERT_TRUE(s.screen->SetProgDefaultTime("MD", CTimeSpan(3600)));
    s.h.Drop(md, at21);
    EXPECT_EQ(s.TakeLog(), (Log{"drop MD 2025-01-07 21:00 2025-01-07 21:30",
                                "drop MD 2025-01-07 21:00 2025-01-07 22:00"}));
    // The host makes the program, not the calendar.
    EXPECT_EQ(s.ProgStr(1), "none");

    // Overlapping or in the past: still drawn, with the "no" cursor and the
    // rule in the balloon.
    ASSERT_TRUE(s.screen->SetProgram(caltest::Single(1, 2025, 1, 7, 21, 30, 23, 0)));
    // {where to, the balloon's first line}
    const std::pair<CPoint, std::string> refused[] = {
        {at21, S("他の予約がすでに")},
        {CPoint(SkinScene::LineX(12, 0), SkinScene::RowY(kSun)), S("過去への設定は")}};
    for (const auto& [to, first] : refused) {
        s.h.Hold(md, to);
        EXPECT_EQ(s.h.CursorId(), kNo) << first;
        ASSERT_NE(s.Cal()->GetDragInfo(), nullptr);
        EXPECT_EQ(s.Cal()->GetDragInfo()->changed.GetSlotNo(), 2);
        ASSERT_FALSE(s.h.DrawnTexts().empty());
        EXPECT_EQ(s.h.DrawnTexts()[0], first);
        s.h.LButtonUp(to.x, to.y);
    }
    // Outside any row: nothing proposed, nothing dropped.
    s.TakeLog();
    s.h.Hold(md, CPoint(SkinScene::X(500), SkinScene::Y(5)));
    EXPECT_TRUE(s.Cal()->GetDragInfo() == nullptr && s.h.CursorId() == kNo);
    s.h.LButtonUp(SkinScene::X(500), SkinScene::Y(5));
    EXPECT_TRUE(s.TakeLog().empty());

    // Between devices.
    s.screen->SetStateCDDVD(1);
    const CPoint cd = SkinScene::At(300);
    s.h.Hold(cd, md);
    EXPECT_EQ(s.h.CursorId(), kArrow);
    // Only what can take CD/DVD is enabled: MD in state 0.
    EXPECT_TRUE(s.Item("MD")->IsEnabled());
    for (const char* other : {"CD/DVD", "SPEAKER", "NKX"})
        EXPECT_FALSE(s.Item(other)->IsEnabled()) << other;
    // The frame's copy follows the pointer, half translucent.
    EXPECT_NE(s.Pixel(md.x - 5, md.y - 5), s.Pixel(md.x - 5, md.y + 200));
    s.h.LButtonUp(md.x, md.y);
    // Entering CD/DVD, the drag's start, entering MD.
    const std::vector<std::string> sounds = s.h.Sounds();
    EXPECT_EQ(std::vector<std::string>(sounds.end() - 3, sounds.end()),
              (std::vector<std::string>{s.dir.Path("MOUSEOVER.wav"), s.dir.Path("DRAGDROP.wav"),
                                        s.dir.Path("MOUSEOVER.wav")}));
    EXPECT_EQ(s.TakeLog(), (Log{"dropout MD 410,310 CD/DVD"}));
    for (const char* any : {"CD/DVD", "MD", "SPEAKER", "NKX"})
        EXPECT_TRUE(s.Item(any)->IsEnabled()) << any;

    s.screen->SetStateMD(1);
    s.h.Hold(cd, md);
    EXPECT_EQ(s.h.CursorId(), kNo);
    s.h.LButtonUp(md.x, md.y);
    EXPECT_TRUE(s.TakeLog().empty());
    EXPECT_EQ(s.h.CursorId(), kArrow);

    // A device without a DRAG line does not drag.
    s.h.Drop(SkinScene::At(600), md);
    EXPECT_TRUE(s.Item("MD")->IsEnabled());
    EXPECT_TRUE(s.TakeLog().empty());
}

TEST(Device, LookByNameStateAndPointerToolHintsClicksAndTheLargeSet) {
    const CPoint label(SkinScene::X(403), SkinScene::Y(321)),
        away(SkinScene::X(800), SkinScene::Y(380));
    const CPoint statePic(SkinScene::X(523), SkinScene::Y(309));
    {
        SkinScene s;
        const COLORREF white = RGB(255, 255, 255), gray = s.screen->GetGrayColor(),
                       select = s.screen->GetSelectColor();
        const CPoint cd = SkinScene::At(300), icon(cd.x, cd.y - 8);
        // {CD's state, the icon's level, its colour}
        const std::tuple<int, int, COLORREF> cdLooks[] = {{0, kStill, gray},
                                                          {1, kStill, white},
                                                          {3, kStill, white},
                                                          {2, kFrame0, white},
                                                          {5, kFrame0, white}};
        for (const auto& [state, level, color] : cdLooks) {
            s.screen->SetStateCDDVD(state);
            s.h.AdvanceMs(0);
            ExpectNear(s.Pixel(icon), Over(level, color), "CD state " + std::to_string(state));
        }
        // Hot: the animation, running; pressed: in the selection colour; off it
        // again: the still icon and the first frame next time.
        s.screen->SetStateCDDVD(1);
        s.Hover(cd);
        // The background is dimmed while the pointer is on a device.
        const int dim = GetRValue(s.Pixel(away));
        EXPECT_LT(dim, kBg);
        ExpectNear(s.Pixel(icon), Over(kFrame0, white, dim), "hot");
        s.h.AdvanceMs(300);
        ExpectNear(s.Pixel(icon), Over(kFrame1, white, dim), "hot, next frame");
        s.h.LButtonDown(cd.x, cd.y);
        ExpectNear(s.Pixel(icon), Over(kFrame1, select, dim), "pressed");
        s.h.LButtonUp(cd.x, cd.y);
        s.Hover(away);
        ExpectNear(s.Pixel(icon), Over(kStill, white), "left");
        s.Hover(cd);
        ExpectNear(s.Pixel(icon), Over(kFrame0, white, dim), "hot again");
        s.Hover(away);

        // The label under the device; MD's alternate label in red on a black
        // shadow two pixels off.
        ExpectNear(s.Pixel(label), Over(kLabel, gray), "MD label, in the icon's colour");
        for (int state : {5, 6}) {
            s.screen->SetStateMD(state);
            s.h.AdvanceMs(0);
            ExpectNear(s.Pixel(label), Over(kAltLabel, RGB(255, 0, 0)), "MD alternate");
            ExpectNear(s.Pixel(SkinScene::X(419), SkinScene::Y(327)), Over(kAltLabel, 0), "shadow");
        }
        // Speaker: the state picture right of it, the mute icon while idle.
        const CPoint speaker = SkinScene::At(500), speakerIcon(speaker.x, speaker.y - 8);
        s.screen->SetStateSpeaker(3);
        s.h.AdvanceMs(0);
        ExpectNear(s.Pixel(statePic), Over(StateLevel(3), white), "speaker state 3");
        s.screen->SetStateSpeakerMute(true);
        s.h.AdvanceMs(0);
        ExpectNear(s.Pixel(speakerIcon), Over(kMute, white), "muted");
        s.Hover(speaker);
        ExpectNear(s.Pixel(speakerIcon), Over(kFrame0, white, dim), "muted, hot");

        // NKX's tool hint by view and state, over its small and large icon.
        const CPoint nkx = SkinScene::At(600);
        auto tip = [&](int view) {
            s.screen->SetViewMode(view);
            CPoint p = view == 0 ? CPoint(SkinScene::X(795), SkinScene::Y(320)) : nkx;
            s.h.MouseMove(SkinScene::X(5), SkinScene::Y(395));
            s.h.MouseMove(p.x, p.y);
            s.h.AdvanceMs(1500);
            return s.h.ToolTipText();
        };
        EXPECT_EQ(tip(2), "NKX");
        s.screen->SetStateNKX(1, "disc");
        EXPECT_EQ(tip(2), "on disc  |%||%n");
        const std::string longText(300, 'd');  // never cut to a buffer
        s.screen->SetStateNKX(1, longText.c_str());
        EXPECT_EQ(tip(2), "on " + longText + "|%||%n");
        EXPECT_EQ(tip(1), "NKX");
        EXPECT_EQ(tip(0), "NKX big");
        // The large set in AUDIO: 40 pixels of still icon.
        EXPECT_EQ(s.Item("NKX")->GetOwner()->GetRect(), CRect(775, 300, 815, 340));

        s.screen->SetViewMode(2);
        s.TakeLog();
        const std::size_t heard = s.h.Sounds().size();
        s.h.Click(cd);
        s.h.LButtonDblClk(cd.x, cd.y);
        s.h.LButtonUp(cd.x, cd.y);
        s.h.RButtonDown(cd.x, cd.y);
        s.h.RButtonUp(cd.x, cd.y);
        // One sound on entering, one for the click; none for the double click.
        const std::vector<std::string> sounds = s.h.Sounds();
        EXPECT_EQ(std::vector<std::string>(sounds.begin() + static_cast<long>(heard), sounds.end()),
                  (std::vector<std::string>{s.dir.Path("MOUSEOVER.wav"), s.dir.Path("CLICK.wav")}));
        EXPECT_EQ(s.TakeLog(), (Log{"click CD/DVD 310,310", "dblclk CD/DVD 310,310",
                                    "rdown CD/DVD 310,310", "rup CD/DVD 310,310"}));
    }
    // Too few pictures: no label for MD 5, no state picture for speaker 3.
    SkinScene few(3, 1);
    few.screen->SetStateMD(5);
    few.screen->SetStateSpeaker(3);
    few.h.AdvanceMs(0);
    ExpectNear(few.Pixel(label), Over(0, 0), "no alternate label");
    ExpectNear(few.Pixel(statePic), Over(0, 0), "no state picture");
}

TEST(ConnectLines, DotsSpacedClearOfIconsAndLabelsAndAnimated) {
    SkinScene s;
    auto* lines = dynamic_cast<CItemConnectLines*>(CQMainScreenInternal::GetTop(*s.screen));
    ASSERT_NE(lines, nullptr);
    EXPECT_EQ(CItemConnectLines::LinePoints(0, 0, 3, 4).size(), 6u);
    EXPECT_EQ(CItemConnectLines::LinePoints(5, 5, 5, 5).size(), 1u);

    s.screen->SetStateDubbing("CD/DVD", "MD");
    s.screen->SetStateDubbing("CD/DVD", "MD");
    ASSERT_EQ(lines->GetLineCount(), 1);
    EXPECT_EQ(s.screen->GetViewMode(), 2);  // back where it was
    const std::vector<CPoint>& dots = lines->GetLine(0)->dots;
    ASSERT_GE(dots.size(), 3u);
    // From x 145 to 490: clear of the icons with their margins (95-145, 495-545).
    for (std::size_t i = 0; i < dots.size(); ++i)
        EXPECT_EQ(dots[i], CPoint(145 + 15 * static_cast<int>(i), 319));
    EXPECT_EQ(dots.back().x, 490);
    // Drawn in AUDIO only; the bright group moves on every 300 ms.
    auto dotPixel = [&](std::size_t k) { return DotPixel(s, dots[k]); };
    s.h.AdvanceMs(0);
    EXPECT_EQ(dotPixel(1), s.Pixel(SkinScene::X(dots[1].x + 1), SkinScene::Y(380)));
    s.screen->SetViewMode(0);
    s.h.AdvanceMs(0);
    const int phase = lines->GetLine(0)->phase;
    ExpectNear(dotPixel((phase + 1) % dots.size()), RGB(0, 255, 0), "middle of the group");
    ExpectNear(dotPixel((phase + 5) % dots.size()), RGB(0x61, 0x61, 0x61), "ordinary dot");
    s.h.AdvanceMs(300);
    EXPECT_EQ(lines->GetLine(0)->phase, (phase + 1) % static_cast<int>(dots.size()));
    ExpectNear(dotPixel((phase + 2) % dots.size()), RGB(0, 255, 0), "moved on");

    // Two dots: the group's third overwrites its first, so each step shows
    // one pure green dot and one dark green one.
    s.screen->SetStateDubbingEnd();
    s.screen->SetStateDubbing("SPEAKER", "NKX");
    ASSERT_EQ(lines->GetLineCount(), 1);
    const std::vector<CPoint>& two = lines->GetLine(0)->dots;
    ASSERT_EQ(two.size(), 2u);
    const COLORREF dark = RGB(26, 110, 78);
    for (int step = 0; step < 2; ++step) {
        s.h.AdvanceMs(step == 0 ? 0 : 300);
        const int green = lines->GetLine(0)->phase == 0 ? 1 : 0;
        for (int k = 0; k < 2; ++k)
            ExpectNear(DotPixel(s, two[k]), k == green ? RGB(0, 255, 0) : dark, "two dots");
    }
    s.screen->SetStateDubbingEnd();
    s.screen->SetStateDubbing("CD/DVD", "MD");

    // The other way is another line; the end of dubbing keeps connections.
    s.screen->SetStateDubbing("MD", "CD/DVD");
    s.screen->SetStateConnect("MD", "SPEAKER");
    s.screen->SetStateConnect("MD", "nothing");
    EXPECT_EQ(lines->GetLineCount(), 3);
    s.screen->SetStateDubbingEnd();
    ASSERT_EQ(lines->GetLineCount(), 1);
    EXPECT_EQ(lines->GetLine(0)->kind, ConnectLine::kConnect);
    const int before = lines->GetLine(0)->phase;
    s.h.AdvanceMs(600);
    EXPECT_EQ(lines->GetLine(0)->phase, before);  // the timer stopped
    s.screen->DeleteAllConnect();
    EXPECT_EQ(lines->GetLineCount(), 0);

    // MD right above the speaker in AUDIO: the line runs down through MD's
    // label, which stands 6 pixels under the icon, 1 more than the icon's
    // margin. The dots keep out of the label grown by four pixels.
    s.Item("MD")->GetViewPlacement(0)->rect = CRect(700, 200, 740, 240);
    s.screen->SetStateConnect("MD", "SPEAKER");
    s.screen->SetViewMode(0);
    s.h.AdvanceMs(0);
    ASSERT_EQ(lines->GetLineCount(), 1);
    const CRect label(712, 240, 728, 246), grown(708, 236, 732, 250);
    CRect got;
    ASSERT_TRUE(CQDeviceRole::Of(s.Item("MD"))->GetLabelRect(&got));
    EXPECT_EQ(got, label);
    const std::vector<CPoint>& past = lines->GetLine(0)->dots;
    ASSERT_EQ(past.size(), 3u);
    for (const CPoint& d : past) EXPECT_TRUE(Outside(d, grown)) << d.y;
    EXPECT_EQ(past.front(), CPoint(719, 250));  // the first point past the grown label
    // On the screen: the dots, and nothing but the background below the label.
    for (const CPoint& d : past) EXPECT_NE(DotPixel(s, d), Over(0, 0)) << d.y;
    for (int y = label.bottom; y < grown.bottom; ++y)
        for (int x = grown.left; x < grown.right; ++x)
            EXPECT_EQ(s.Pixel(SkinScene::X(x), SkinScene::Y(y)), Over(0, 0)) << x << "," << y;
}
