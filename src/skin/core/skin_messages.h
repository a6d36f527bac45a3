// The private window messages the skin engine's parts exchange: the program's own, from 1225 to
// 1427, and the control messages of the component protocol (0xB1B2 to 0xBC4B) with the answers
// they expect. The skin data sends the six marked "skin data" synchronously to every form, with
// itself as wParam and kSkinDataLParam as lParam; the others of the first group carry wParam 0
// and lParam 0. Plain values.
#pragma once

#include "platform/win/types.h"

namespace skin {

// skin data, load and ClearSkin: before the change; the old skin is still whole.
inline constexpr win::UINT WM_BEFORECHANGESKINDATA = 1225;
// skin data: the new skin is in place; frames are rebuilt, controls look their records up again.
inline constexpr win::UINT WM_CHANGESKINDATA = 1226;
// skin data: the change is complete.
inline constexpr win::UINT WM_AFTERCHANGESKINDATA = 1227;
// menu controller: a skinned popup chain closed.
inline constexpr win::UINT WM_CLOSESKINMENU = 1228;
// menu controller: a clicked item's command ran.
inline constexpr win::UINT WM_AFTERDISPATCH = 1229;
// MDI main form to each child: refit a maximized child.
inline constexpr win::UINT WM_FITMAXIMIZEDCHILD = 1230;
// MDI child to the main form: maximized; restored, minimized or closed.
inline constexpr win::UINT WM_MDICHILDMAXIMIZED = 1231;
inline constexpr win::UINT WM_MDICHILDRESTORED = 1232;
// skin data, ResourceStrData set: texts from the resource-string table are read again.
inline constexpr win::UINT WM_CHANGERESSTRDATA = 1274;
// containers to their children: the parent background changed.
inline constexpr win::UINT WM_CHECKPARENTBG = 1284;
// skin data, SkinnableForm set: switch between skinned and standard frame.
inline constexpr win::UINT WM_CHANGEFORMSKINNABLE = 1294;
// a skinned button to itself: show or hide its glow layer.
inline constexpr win::UINT WM_SHOWLAYER = 1424;
inline constexpr win::UINT WM_HIDELAYER = 1425;
// tray icon to the main form: shown again from the notification area.
inline constexpr win::UINT WM_TRAYRESTORED = 1426;
// skin data, ShowLayeredBorders set: show or hide the layered border frame.
inline constexpr win::UINT WM_CHANGELAYEREDBORDERS = 1427;

inline constexpr win::LPARAM kSkinDataLParam = 1000;

// --- the component protocol ----------------------------------------------------------------------

// Messages of the protocol that nothing in the program sends but that a skinned form answers all
// the same: is it a skin form; hold and resume the show effects.
inline constexpr win::UINT CM_QUERYSKINFORM = 0xB1B2;
inline constexpr win::UINT CM_BEGINSMARTEFFECTS = 0xB1B3;
inline constexpr win::UINT CM_ENDSMARTEFFECTS = 0xB1B4;
// Asks the list view to paint its header into the DC in wParam (0: the header's own paint).
inline constexpr win::UINT CM_UPDATEHEADER = 0xB1C8;
// Asks a control to paint its skinned frame into the DC in wParam; kPaintSkinFrameDone when it
// did (the form then paints no frame of its own around it).
inline constexpr win::UINT CM_PAINTSKINFRAME = 0xB1C9;
inline constexpr win::LRESULT kPaintSkinFrameDone = 12851;
// Posted to the page control when the plain tab control made its own arrow child: the skinned
// scroller replaces it once the plain control is done making it.
inline constexpr win::UINT CM_REPLACESCROLLER = 0xB1D0;
// Asks a list to paint its empty background into a DC; lParam kPaintListBackgroundKey.
inline constexpr win::UINT CM_PAINTLISTBACKGROUND = 0xBC4A;
inline constexpr win::LPARAM kPaintListBackgroundKey = 16802;
// CM_PAINTSKINFRAME again, when lParam is kPaintSkinNCKey; answered with kPaintSkinNCKey.
inline constexpr win::UINT CM_PAINTSKINNC = 0xBC4B;
inline constexpr win::LPARAM kPaintSkinNCKey = 16802;

}  // namespace skin
