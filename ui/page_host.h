// The pages of the main dialog and the strip of tabs over them. The pages are
// child dialogs created together inside the frame under the strip; one shows
// at a time. A tab is shown only when its page exists.
#pragma once

#include <windows.h>

// Creates every page inside `dialog`, the main page shown.
void CreatePages(HWND dialog);
void DestroyPages();

// Shows the page of template `templateId` and hides the others.
void ShowPage(HWND dialog, int templateId);

// Brings the pages up to date with the settings record.
void RefreshPages();

// The picture under the frame changed (a frame drawn, a new prescan): the
// page that shows a crop of it takes the crop again.
void RecropPages();

// After a change of the scan mode: the pages offer what the mode allows.
// `modeChosen`: the user chose the mode (rather than settings being loaded).
void AdaptPagesToScanMode(bool modeChosen);

// After a change of the user-interface language: the texts of the pages that
// do not rebuild themselves, and the tab names.
void RetranslatePages(HWND dialog);

// The template number of a page window, 0 for `dialog` itself, -1 for any
// other window.
int PageNumberOf(HWND dialog, HWND window);

void DrawTabStrip(HWND dialog, const DRAWITEMSTRUCT& item);

// A click at `clientPoint` of the dialog: when it lies on a tab, that tab's
// page is shown. False when the point is not on the strip.
bool ClickTabStrip(HWND dialog, POINT clientPoint);
