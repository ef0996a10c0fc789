// Controls of the software file calls for tests: a count of open files to catch leaked handles.
#pragma once

// Files opened with OpenFile and not yet closed with _lclose.
int SoftOpenFileCount();
