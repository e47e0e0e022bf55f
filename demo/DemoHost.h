// The demo's host: a real application on the library's screen. It makes
// reservations from drops and clicks, runs them on the clock (the device
// plays, a log is written when it ends), dubs and links devices, and keeps
// its reservations and logs in a small file of its own.
#pragma once

#include <quillon/quillon.h>

#include <string>
#include <vector>

namespace demo {

// Reservations and logs on disk: one record a line, written to a temporary
// file and renamed over the old one, so a crash mid-write loses nothing.
class Store {
public:
    explicit Store(std::string path) : m_path(std::move(path)) {}
    // False (with `why`) when the file exists but cannot be read as ours:
    // it is then set aside (renamed with ".bad-" and the time) and `why`
    // says where. A missing file is an empty store.
    bool Load(std::vector<CQProg>* progs, std::vector<CQProgLog>* logs, std::string* why);
    bool Save(const std::vector<CQProg>& progs, const std::vector<CQProgLog>& logs,
              std::string* why) const;
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

// The data folder: $XDG_DATA_HOME/quillon-demo, else ~/.local/share/quillon-demo.
std::string DefaultDataDir();

// The kind a device's reservations get; -1 for a device that records nothing.
int KindOfDevice(const CString& name);

class DemoScreen : public CQMainScreen {
public:
    DemoScreen(CWnd* parent, CRect rect, CString ini, CString pictures, Store* store);

    // Once a second: reservations start and end, dubbing stops.
    void Tick();
    // Adds what the store holds; false when the file had to be set aside.
    bool LoadStore();
    // Reserves for the device from `begin` (its default length when `end`
    // is not after it); prints the slot on stdout. 0 when refused.
    int Reserve(const CString& device, CTime begin, CTime end);

    void OnClick(CString name, unsigned int flags, CPoint point) override;
    void OnDropOut(CString name, unsigned int flags, CPoint point, CString dragged) override;
    void OnCalendar_DropOut(CString name, CTime begin, CTime end) override;
    void OnCalendar_ProgLButtonDblClk(CQProg* prog) override;
    bool OnCalendar_ProgChange(CQProg* prog) override;
    bool OnCalendar_ProgDelete(CQProg* prog) override;
    void OnNewmake_Click(CString name, unsigned int flags, CPoint point) override;
    void OnNewmake_DropOut(CString name) override;
    bool OnChange_DropOut(CString name, CQProg* prog) override;
    void OnChange_Click(CQProg prog) override;

private:
    void Save();
    void Box(const char* utf8Text, UINT type = MB_OK);
    void ShowDevicePlaying(const CString& device, bool playing);
    std::vector<CQProg> Programs();

    Store* m_store;
    std::vector<CQProgLog> m_logs;
    bool m_dirty = false;
    CTime m_lastTick;
    CTime m_dubbingEnds;
    CString m_dubFrom, m_dubTo;
    std::vector<std::string> m_playing;  // devices a reservation plays now
};

}  // namespace demo
