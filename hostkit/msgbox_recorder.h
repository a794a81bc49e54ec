// MessageBoxRecorder: records and answers every message box shown on the
// thread that started it, and records the other dialogs destroyed meanwhile.
//
//   MessageBoxRecorder recorder;
//   recorder.Start();            // answer every box with IDOK
//   ... run the code that shows boxes ...
//   recorder.Stop();
//   ASSERT_EQ(recorder.boxes.size(), 1u);
//   EXPECT_EQ(recorder.boxes[0].text, "The scanner is not ready.");
//   EXPECT_EQ(recorder.boxes[0].icon, UINT(MB_ICONSTOP));
//
// How a blocked MessageBox gets answered: Start installs a CBT hook
// (WH_CBT) for the calling thread. MessageBox builds a dialog of class
// "#32770" and runs its own modal loop. When the box is activated, before its
// loop waits for input, the hook reads caption, text and icon and posts
// WM_COMMAND with the answer's button id to the box; the box's modal loop
// takes that message and MessageBox returns the id. Nothing depends on focus,
// a window manager or timing, so it behaves the same under xvfb-run.
//
// A window is taken for a message box when it is a "#32770" dialog with the
// text static 0xFFFF and an icon static (SS_ICON) with id 0x440 (Wine keeps
// it in every box, with or without an icon) or 0x14 (Windows). The icon is
// found by comparing the static's icon (STM_GETICON) with the shared system
// icons, which is what the box shows for MB_ICONINFORMATION, MB_ICONSTOP,
// MB_ICONWARNING and MB_ICONQUESTION.
//
// Any other "#32770" window destroyed while recording (a modeless notice, a
// dialog page) is recorded in dialogs with its title and the non-empty texts
// of its child controls in z-order (the order of the dialog template).
#pragma once

#include <windows.h>

#include <deque>
#include <string>
#include <vector>

struct RecordedBox {
    std::string caption;  // UTF-8
    std::string text;     // UTF-8
    UINT icon;            // MB_ICONINFORMATION, MB_ICONSTOP, MB_ICONWARNING, MB_ICONQUESTION,
                          // 0 without an icon, MB_USERICON for any other icon
    int answer;           // the button id the box was answered with
};

struct RecordedDialog {
    std::string title;               // UTF-8
    std::vector<std::string> texts;  // UTF-8, child controls with text, in z-order
};

struct MessageBoxRecorder {
    std::vector<RecordedBox> boxes;
    std::vector<RecordedDialog> dialogs;
    // Answers for the next boxes, used in order; after them defaultAnswer.
    // An answer the box has no button for is replaced by the box's first
    // button (IDOK for MB_OK, IDYES for MB_YESNO, IDABORT for
    // MB_ABORTRETRYIGNORE).
    std::deque<int> answers;
    int defaultAnswer = IDOK;

    // False when a recorder is already running on this thread.
    bool Start(int answer = IDOK);
    void Stop();
    ~MessageBoxRecorder();

    HHOOK hook = nullptr;
    std::vector<HWND> answeredBoxes;  // boxes handled and not yet destroyed
};
