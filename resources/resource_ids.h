#pragma once

// Resource numbers shared by quenbrook.rc and the Win32 front end. The program icon comes first,
// so that Explorer shows it for the file.
#define IDI_PROGRAM 1
#define IDI_FOLDER 2
#define IDI_DONE 10
#define IDI_NEWFOLDER 11
#define IDI_DESKTOP 12
#define IDI_MYDOCUMENTS 13
#define IDI_LIST_OPEN 20
#define IDI_LIST_CLOSED 21
