// A minimal host: builds a reservation and checks it against the rules.
#include <quillon/quillon.h>

#include <cstdio>

int main() {
    CQProg prog;
    prog.SetSlotNo(1);
    prog.SetKind(0);
    prog.SetWeekly(0x02);
    prog.SetTime(CTime(2030, 1, 7, 10, 0, 0), CTime(2030, 1, 7, 11, 0, 0));
    if (!prog.IsProper() || prog.GetStrTime() != CString("10:00 - 11:00")) {
        std::puts("consumer: unexpected program");
        return 1;
    }
    std::printf("consumer: %s\n", ToUtf8(prog.GetStrPattern()).c_str());
    return 0;
}
