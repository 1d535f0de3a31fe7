// Identifiers of the program's own resources, shared by the resource script and the code.
#pragma once

#define IDI_VELMORA 1         // the application icon: the first icon, which Windows shows
#define IDB_ABOUT_EMBLEM 101  // 202 x 202 clock face of the About page
#define IDB_ABOUT_WORDMARK 102  // 282 x 93 word mark of the About page
