// The host interface: the library's bodies of the callbacks, and the device
// state and connection operations, which pass the host's values on to the
// items that show them.
#include <quillon/QMainScreen.h>

#include "frame/QItem.h"
#include "frame/QItemRoles.h"

void CQMainScreen::OnClick(CString /*name*/, unsigned int /*flags*/, CPoint /*point*/) {}

void CQMainScreen::OnLButtonDblClk(CString /*name*/, unsigned int /*flags*/, CPoint /*point*/) {}

void CQMainScreen::OnLButtonDown(CString /*name*/, unsigned int /*flags*/, CPoint /*point*/) {}

void CQMainScreen::OnLButtonUp(CString /*name*/, unsigned int /*flags*/, CPoint /*point*/) {}

void CQMainScreen::OnRButtonDown(CString /*name*/, unsigned int /*flags*/, CPoint /*point*/) {}

void CQMainScreen::OnRButtonUp(CString /*name*/, unsigned int /*flags*/, CPoint /*point*/) {}

void CQMainScreen::OnDropOut(CString /*name*/, unsigned int /*flags*/, CPoint /*point*/,
                             CString /*dragged*/) {}

void CQMainScreen::OnCalendar_DayLButtonDblClk(CTime /*time*/) {}

void CQMainScreen::OnCalendar_ProgLButtonDblClk(CQProg* /*prog*/) {}

void CQMainScreen::OnCalendar_ProgRButtonDown(CQProg /*prog*/) {}

void CQMainScreen::OnCalendar_ProgRButtonUp(CQProg /*prog*/) {}

void CQMainScreen::OnCalendar_LogLButtonDblClk(CQProgLog /*log*/) {}

void CQMainScreen::OnCalendar_LogRButtonDown(CQProgLog /*log*/) {}

void CQMainScreen::OnCalendar_LogRButtonUp(CQProgLog /*log*/) {}

// The drop leaves a ghost bar behind; a host that makes no reservation
// still gets a clean screen.
void CQMainScreen::OnCalendar_DropOut(CString /*name*/, CTime /*begin*/, CTime /*end*/) {
    AllRedraw(false);
}

bool CQMainScreen::OnCalendar_ProgChange(CQProg* /*prog*/) {
    return true;
}

bool CQMainScreen::OnCalendar_ProgDelete(CQProg* /*prog*/) {
    return true;
}

void CQMainScreen::OnNewmake_Click(CString /*name*/, unsigned int /*flags*/, CPoint /*point*/) {}

void CQMainScreen::OnNewmake_DropOut(CString /*name*/) {}

bool CQMainScreen::OnChange_DropOut(CString /*name*/, CQProg* /*prog*/) {
    return true;
}

void CQMainScreen::OnChange_Click(CQProg /*prog*/) {}

void CQMainScreen::OnSliderChange(CString /*name*/, int /*value*/) {}

CQDeviceRole* CQMainScreen::FindDevice(const char* name) {
    return CQDeviceRole::Of(CQItemName2pCQItem(name));
}

namespace {

// The device redraws itself; a value outside [0, last] is ignored.
void SetDeviceState(CQDeviceRole* device, int state, int last, const CString& text = CString()) {
    if (device == nullptr || state < 0 || state > last) return;
    device->SetState(state, text);
}

int GetDeviceState(const CQDeviceRole* device) {
    return device != nullptr ? device->GetState() : -1;
}

}  // namespace

void CQMainScreen::SetStateCDDVD(int state) {
    SetDeviceState(FindDevice("CD/DVD"), state, 5);
}

int CQMainScreen::GetStateCDDVD() {
    return GetDeviceState(FindDevice("CD/DVD"));
}

void CQMainScreen::SetStateMD(int state) {
    SetDeviceState(FindDevice("MD"), state, 6);
}

int CQMainScreen::GetStateMD() {
    return GetDeviceState(FindDevice("MD"));
}

void CQMainScreen::SetStateFM(int state) {
    SetDeviceState(FindDevice("FM TUNER"), state, 1);
}

int CQMainScreen::GetStateFM() {
    return GetDeviceState(FindDevice("FM TUNER"));
}

void CQMainScreen::SetStateNKX(int state, CString text) {
    SetDeviceState(FindDevice("NKX"), state, 1, text);
}

int CQMainScreen::GetStateNKX(CString* text) {
    CQDeviceRole* device = FindDevice("NKX");
    if (device == nullptr) return -1;
    if (text != nullptr) *text = device->GetDeviceText();
    return device->GetState();
}

void CQMainScreen::SetStateSOUND(int state) {
    SetDeviceState(FindDevice("SOUND CHIP"), state, 1);
}

int CQMainScreen::GetStateSOUND() {
    return GetDeviceState(FindDevice("SOUND CHIP"));
}

void CQMainScreen::SetStateSpeaker(int state) {
    SetDeviceState(FindDevice("SPEAKER"), state, 4);
}

int CQMainScreen::GetStateSpeaker() {
    return GetDeviceState(FindDevice("SPEAKER"));
}

void CQMainScreen::SetStateSpeakerMute(bool mute) {
    if (CQDeviceRole* speaker = FindDevice("SPEAKER")) speaker->SetMute(mute);
}

bool CQMainScreen::GetStateSpeakerMute() {
    CQDeviceRole* speaker = FindDevice("SPEAKER");
    return speaker != nullptr && speaker->GetMute();
}

void CQMainScreen::SetStateDubbing(CString from, CString to) {
    if (CQConnectRole* top = CQConnectRole::Of(m_pTop)) top->AddDubbing(from, to);
}

void CQMainScreen::SetStateDubbingEnd() {
    if (CQConnectRole* top = CQConnectRole::Of(m_pTop)) top->ClearDubbing();
}

void CQMainScreen::SetStateConnect(CString from, CString to) {
    if (CQConnectRole* top = CQConnectRole::Of(m_pTop)) top->AddConnect(from, to);
}

void CQMainScreen::DeleteAllConnect() {
    if (CQConnectRole* top = CQConnectRole::Of(m_pTop)) top->ClearConnect();
}
