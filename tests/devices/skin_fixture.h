// A whole test skin written by the test: a calendar, the balloon, devices
// (CD/DVD, MD, SPEAKER, NKX) with both picture sets, two slots, the
// dragging frame and the line item, on a dark grey background. Every picture
// is one grey level, so a pixel tells which picture is drawn: the
// normal colour is white, so a picture of level v shows as (v, v, v).
#pragma once

#include <tuple>

#include "calendar/cal_fixture.h"

namespace skintest {

// The calendar host, and the devices' callbacks.
class RecordingHost : public caltest::RecordingHost {
public:
    using caltest::RecordingHost::RecordingHost;
    void OnClick(CString n, unsigned, CPoint p) override { Note("click", n, p); }
    void OnLButtonDblClk(CString n, unsigned, CPoint p) override { Note("dblclk", n, p); }
    void OnRButtonDown(CString n, unsigned, CPoint p) override { Note("rdown", n, p); }
    void OnRButtonUp(CString n, unsigned, CPoint p) override { Note("rup", n, p); }
    void OnDropOut(CString n, unsigned, CPoint p, CString dragged) override {
        Note("dropout", n, p);
        log.back() += " " + dragged.str();
    }

private:
    void Note(const char* what, const CString& n, CPoint p) {
        log.push_back(std::string(what) + " " + n.str() + " " + std::to_string(p.x) + "," +
                      std::to_string(p.y));
    }
};

constexpr int kBg = 0x40;  // the background's grey
// Grey levels of the pictures.
constexpr int kStill = 250, kFrame0 = 200, kFrame1 = 150, kMute = 90, kLabel = 240, kAltLabel = 230,
              kDot = 255;
inline int StateLevel(int i) {
    return 20 + 10 * i;
}

struct SkinScene : caltest::CalSceneOf<RecordingHost> {
    // The speaker has `speakerStates` state pictures, MD `mdNames` labels.
    explicit SkinScene(int speakerStates = 5, int mdNames = 2) : CalSceneOf(Unopened()) {
        WritePictures(speakerStates);
        std::string ini =
            "BG\nBMP\t\"bg.bmp\"\nEND\n"
            "CALENDAR\nVIEW\tTIMER\nSIZE\t975,252\nVIEW\tAUDIO\nVISIBLE\tFALSE\nVIEW\tLUNCHER\n"
            "VISIBLE\tFALSE\nEND\n";
        ini += Device("CD/DVD", 300, 100, "DRAG\tMD\t1\t0\n");
        std::string md = "DRAG\tCD/DVD\t0,1\t0\n";
        if (mdNames > 1) md += "S\tDEVICENAME\t\"alt.bmp\"\nL\tDEVICENAME\t\"alt.bmp\"\n";
        ini += Device("MD", 400, 500, md);
        std::string speaker = "S\tMUTEICON\t\"mute.bmp\"\n";
        for (int i = 0; i < speakerStates; ++i)
            speaker += "S\tSTATE\t\"st" + std::to_string(i) + ".bmp\"\n";
        ini += Device("SPEAKER", 500, 700, speaker);
        // NKX stands 75 pixels right of the speaker in AUDIO: room for two
        // dots. Its first hint asks for more than the one text it gets.
        ini += Device("NKX", 600, 775,
                      "TOOLHINT\tT:1\t\"on %-6s|%%|%x|%s%n\"\nTOOLHINT\tA:-1,L:0\t\"NKX big\"\n"
                      "TOOLHINT\tALL:-1\t\"NKX\"\n");
        ini +=
            "SLOTBUTTON\nVIEW\tTIMER\nPOSITION\t700,380\nSIZE\t10,10\nSLOTNO\t1\nEND\n"
            "SLOTBUTTON\nVIEW\tTIMER\nPOSITION\t720,380\nSIZE\t10,10\nSLOTNO\t2\nEND\n"
            "CALENDARBALLOONHELP\nFRAME\tL\tSURFACE\t\"bl.bmp\"\nFRAME\tR\tSURFACE\t\"bl.bmp\"\n"
            "END\nDRAGINGITEMFRAME\nEND\nTOP\nLINEPOINT\t\"dot.bmp\"\nEND\n";
        for (const char* event : {"MOUSEOVER", "CLICK", "DRAGDROP"}) {
            dir.Write(std::string(event) + ".wav", picturetest::Bytes{'R', 'I', 'F', 'F'});
            ini += std::string("SE\tDEVICE") + event + "\t\"" + dir.Path(event) + ".wav\"\n";
        }
        Open(410, ini);
    }
    // A device at (x, 300) in TIMER (small set, 20 x 20) and at (audioX,
    // 300) in AUDIO (large set, 40 x 40).
    static std::string Device(const char* name, int x, int audioX, const std::string& more) {
        return std::string("DEVICE\nNAME\t\"") + name + "\"\nVIEW\tTIMER\nPOSITION\t" +
               std::to_string(x) + ",300\nVIEW\tLUNCHER\nPOSITION\t" + std::to_string(x) +
               ",300\nVIEW\tAUDIO\nPOSITION\t" + std::to_string(audioX) +
               ",300\nS\tICON\t\"still.bmp\"\nS\tICONANIME\t\"f0.bmp\"\nS\tICONANIME\t\"f1.bmp\"\n"
               "S\tDEVICENAME\t\"label.bmp\"\nL\tICON\t\"bigstill.bmp\"\n"
               "L\tICONANIME\t\"big.bmp\"\nL\tDEVICENAME\t\"label.bmp\"\n" +
               more + "END\n";
    }
    void WritePictures(int speakerStates) {
        dir.Write("bg.bmp", picturetest::MakeBmp24(1, 1, {kBg * 0x010101}));
        const std::tuple<const char*, int, int, int> flat[] = {
            {"still", 20, 20, kStill}, {"f0", 20, 20, kFrame0},      {"f1", 20, 20, kFrame1},
            {"mute", 20, 20, kMute},   {"bigstill", 40, 40, kStill}, {"big", 40, 40, kFrame0},
            {"label", 16, 6, kLabel},  {"alt", 16, 6, kAltLabel},    {"dot", 3, 3, kDot}};
        for (auto [name, width, height, level] : flat)
            dir.Write(std::string(name) + ".bmp", picturetest::MakeFlatBmp(width, height, level));
        for (int i = 0; i < speakerStates; ++i)
            dir.Write("st" + std::to_string(i) + ".bmp",
                      picturetest::MakeFlatBmp(8, 8, StateLevel(i)));
        // The balloon: an outline, so that its text shows inside.
        std::vector<int> outline(140 * 50, 0);
        for (int y = 0; y < 50; ++y)
            for (int x = 0; x < 140; ++x)
                if (x < 2 || y < 2 || x >= 138 || y >= 48) outline[y * 140 + x] = 255;
        dir.Write("bl.bmp", picturetest::MakeGreyBmp(140, 50, outline));
    }

    // The middle of a device in TIMER, in the parent's coordinates.
    static CPoint At(int deviceX) { return CPoint(X(deviceX + 10), Y(310)); }
    using CalSceneOf::Pixel;
    COLORREF Pixel(CPoint p) { return h.Pixel(p.x, p.y); }
    CQItem* Item(const char* name) { return screen->CQItemName2pCQItem(name); }
};

}  // namespace skintest
