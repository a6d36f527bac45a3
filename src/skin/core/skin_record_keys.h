// The one list of the skin description's records: for every record class, its own fields in
// declaration order as X(value type, field, key, missing-key default). The record classes, their
// readers and writers (skin_records.h), the FORMINFO and VERSION fields of a loaded skin
// (skin_content.h) and the tests are all generated from these rows. Value types are those of
// skin_description.h. A record reads its base's keys first, then its own.
//
// No includes: the rows expand wherever the value types and enumerations are in scope.
#pragma once

// --- control records ------------------------------------------------------------------------

#define MORADEX_SKIN_CONTROL_KEYS(X)                 \
    X(Int, PictureIndex, "pictureindex", -1)         \
    X(Int, MaskPictureIndex, "maskpictureindex", -1) \
    X(Rect, SkinRect, "skinrect", {})

// The nine-slice record most control records extend.
#define MORADEX_SKIN_CUSTOM_CONTROL_KEYS(X)          \
    X(Point, LTPoint, "lefttoppoint", {})            \
    X(Point, RTPoint, "righttoppoint", {})           \
    X(Point, LBPoint, "leftbottompoint", {})         \
    X(Point, RBPoint, "rightbottompoint", {})        \
    X(Rect, ClRect, "clientrect", {})                \
    X(Bool, StretchEffect, "stretcheffect", false)   \
    X(Stretch, StretchType, "stretchtype", bsstFull) \
    X(Bool, LeftStretch, "leftstretch", false)       \
    X(Bool, TopStretch, "topstretch", false)         \
    X(Bool, RightStretch, "rightstretch", false)     \
    X(Bool, BottomStretch, "bottomstretch", false)

// The font block that most records carry, in the order they carry it.
#define MORADEX_SKIN_FONT_KEYS(X)            \
    X(Text, FontName, "fontname", "Arial")   \
    X(FontStyles, FontStyle, "fontstyle", 0) \
    X(Int, FontHeight, "fontheight", 14)     \
    X(Colour, FontColor, "fontcolor", 0)

#define MORADEX_SKIN_BUTTON_CONTROL_KEYS(X)                                \
    MORADEX_SKIN_FONT_KEYS(X)                                              \
    X(Colour, ActiveFontColor, "activefontcolor", 0)                       \
    X(Colour, DownFontColor, "downfontcolor", 0)                           \
    X(Colour, DisabledFontColor, "disabledfontcolor", 0)                   \
    X(Rect, ActiveSkinRect, "activeskinrect", {})                          \
    X(Rect, DownSkinRect, "downskinrect", {})                              \
    X(Rect, DisabledSkinRect, "disabledskinrect", {})                      \
    X(Rect, FocusedSkinRect, "focusedskinrect", {})                        \
    X(Bool, Morphing, "morphing", false)                                   \
    X(Morph, MorphKind, "morphkind", mkDefault)                            \
    X(Rect, AnimateSkinRect, "animateskinrect", {})                        \
    X(Int, FrameCount, "framecount", 0)                                    \
    X(Int, AnimateInterval, "animateinterval", 25)                         \
    X(Bool, ShowFocus, "showfocus", false)                                 \
    X(Rect, MenuMarkerFlatRect, "menumarkerflatrect", {})                  \
    X(Rect, MenuMarkerRect, "menumarkerrect", {})                          \
    X(Rect, MenuMarkerActiveRect, "menumarkeractiverect", {})              \
    X(Rect, MenuMarkerDownRect, "menumarkerdownrect", {})                  \
    X(Colour, MenuMarkerTransparentColor, "menumarkertransparentcolor", 0) \
    X(Int, GlowLayerPictureIndex, "glowlayerpictureindex", -1)             \
    X(Int, GlowLayerMaskPictureIndex, "glowlayermaskpictureindex", -1)     \
    X(Int, GlowLayerOffsetLeft, "glowlayeroffsetleft", 0)                  \
    X(Int, GlowLayerOffsetRight, "glowlayeroffsetright", 0)                \
    X(Int, GlowLayerOffsetTop, "glowlayeroffsettop", 0)                    \
    X(Int, GlowLayerOffsetBottom, "glowlayeroffsetbottom", 0)              \
    X(Int, GlowLayerShowOffsetX, "glowlayershowoffsetx", 0)                \
    X(Int, GlowLayerShowOffsetY, "glowlayershowoffsety", 0)                \
    X(Int, GlowLayerAlphaBlendValue, "glowlayeralphablendvalue", 255)

#define MORADEX_SKIN_MENU_BUTTON_CONTROL_KEYS(X) X(Rect, TrackButtonRect, "trackbuttonrect", {})

#define MORADEX_SKIN_CHECK_RADIO_CONTROL_KEYS(X)                          \
    MORADEX_SKIN_FONT_KEYS(X)                                             \
    X(Colour, ActiveFontColor, "activefontcolor", 0)                      \
    X(Colour, UnEnabledFontColor, "unenabledfontcolor", 0)                \
    X(Rect, ActiveSkinRect, "activeskinrect", {})                         \
    X(Rect, CheckImageArea, "checkimagearea", {})                         \
    X(Rect, TextArea, "textarea", {})                                     \
    X(Rect, CheckImageRect, "checkimagerect", {})                         \
    X(Rect, UnCheckImageRect, "uncheckimagerect", {})                     \
    X(Rect, ActiveCheckImageRect, "activecheckimagerect", {})             \
    X(Rect, ActiveUnCheckImageRect, "activeuncheckimagerect", {})         \
    X(Rect, UnEnabledCheckImageRect, "unenabledcheckimagerect", {})       \
    X(Rect, UnEnabledUnCheckImageRect, "unenableduncheckimagerect", {})   \
    X(Rect, GrayedCheckImageRect, "grayedcheckimagerect", {})             \
    X(Rect, ActiveGrayedCheckImageRect, "activegrayedcheckimagerect", {}) \
    X(Bool, Morphing, "morphing", false)                                  \
    X(Morph, MorphKind, "morphkind", mkDefault)                           \
    X(Colour, FrameFontColor, "framefontcolor", 0)

#define MORADEX_SKIN_PANEL_CONTROL_KEYS(X)                   \
    X(Rect, CaptionRect, "captionrect", {})                  \
    X(Align, Alignment, "alignment", taCenter)               \
    MORADEX_SKIN_FONT_KEYS(X)                                \
    X(Int, BGPictureIndex, "bgpictureindex", -1)             \
    X(Rect, CheckImageRect, "checkimagerect", {})            \
    X(Rect, UnCheckImageRect, "uncheckimagerect", {})        \
    X(Rect, MarkFrameRect, "markframerect", {})              \
    X(Rect, FrameRect, "framerect", {})                      \
    X(Int, FrameLeftOffset, "frameleftoffset", 0)            \
    X(Int, FrameRightOffset, "framerightoffset", 0)          \
    X(Rect, FrameTextRect, "frametextrect", {})              \
    X(Rect, GripperRect, "gripperrect", {})                  \
    X(Bool, GripperTransparent, "grippertransparent", false) \
    X(Colour, GripperTransparentColor, "grippertransparentcolor", 0)

#define MORADEX_SKIN_EX_PANEL_CONTROL_KEYS(X)                         \
    X(Rect, RollHSkinRect, "rollhskinrect", {})                       \
    X(Rect, RollVSkinRect, "rollvskinrect", {})                       \
    X(Int, RollLeftOffset, "rollleftoffset", 0)                       \
    X(Int, RollRightOffset, "rollrightoffset", 0)                     \
    X(Int, RollTopOffset, "rolltopoffset", 0)                         \
    X(Int, RollBottomOffset, "rollbottomoffset", 0)                   \
    X(Rect, RollVCaptionRect, "rollvcaptionrect", {})                 \
    X(Rect, RollHCaptionRect, "rollhcaptionrect", {})                 \
    X(Rect, CloseButtonRect, "closebuttonrect", {})                   \
    X(Rect, CloseButtonActiveRect, "closebuttonactiverect", {})       \
    X(Rect, CloseButtonDownRect, "closebuttondownrect", {})           \
    X(Rect, HRollButtonRect, "hrollbuttonrect", {})                   \
    X(Rect, HRollButtonActiveRect, "hrollbuttonactiverect", {})       \
    X(Rect, HRollButtonDownRect, "hrollbuttondownrect", {})           \
    X(Rect, HRestoreButtonRect, "hrestorebuttonrect", {})             \
    X(Rect, HRestoreButtonActiveRect, "hrestorebuttonactiverect", {}) \
    X(Rect, HRestoreButtonDownRect, "hrestorebuttondownrect", {})     \
    X(Rect, VRollButtonRect, "vrollbuttonrect", {})                   \
    X(Rect, VRollButtonActiveRect, "vrollbuttonactiverect", {})       \
    X(Rect, VRollButtonDownRect, "vrollbuttondownrect", {})           \
    X(Rect, VRestoreButtonRect, "vrestorebuttonrect", {})             \
    X(Rect, VRestoreButtonActiveRect, "vrestorebuttonactiverect", {}) \
    X(Rect, VRestoreButtonDownRect, "vrestorebuttondownrect", {})     \
    X(Rect, CaptionRect, "captionrect", {})                           \
    MORADEX_SKIN_FONT_KEYS(X)                                         \
    X(Bool, ButtonsTransparent, "buttonstransparent", false)          \
    X(Colour, ButtonsTransparentColor, "buttonstransparentcolor", 0)

#define MORADEX_SKIN_LABEL_CONTROL_KEYS(X) MORADEX_SKIN_FONT_KEYS(X)

#define MORADEX_SKIN_STD_LABEL_CONTROL_KEYS(X) \
    MORADEX_SKIN_FONT_KEYS(X)                  \
    X(Colour, ActiveFontColor, "activefontcolor", 16711680)

#define MORADEX_SKIN_GAUGE_CONTROL_KEYS(X)                                      \
    X(Rect, ProgressArea, "progressarea", {})                                   \
    X(Rect, ProgressRect, "progressrect", {})                                   \
    X(Bool, Vertical, "vertical", false)                                        \
    X(Int, BeginOffset, "beginoffset", 0)                                       \
    X(Int, EndOffset, "endoffset", 0)                                           \
    MORADEX_SKIN_FONT_KEYS(X)                                                   \
    X(Bool, ProgressTransparent, "progresstransparent", false)                  \
    X(Colour, ProgressTransparentColor, "progresstransparentcolor", 0)          \
    X(Bool, ProgressStretch, "progressstretch", false)                          \
    X(Rect, AnimationSkinRect, "animationskinrect", {})                         \
    X(Int, AnimationCountFrames, "animationcountframes", 0)                     \
    X(Int, AnimationTimerInterval, "animationtimerinterval", 0)                 \
    X(Rect, ProgressAnimationSkinRect, "progressanimationskinrect", {})         \
    X(Int, ProgressAnimationCountFrames, "progressanimationcountframes", 0)     \
    X(Int, ProgressAnimationTimerInterval, "progressanimationtimerinterval", 0) \
    X(Int, AnimationBeginOffset, "animationbeginoffset", 0)                     \
    X(Int, AnimationEndOffset, "animationendoffset", 0)

#define MORADEX_SKIN_TRACK_BAR_CONTROL_KEYS(X)             \
    X(Rect, ActiveSkinRect, "activeskinrect", {})          \
    X(Rect, TrackArea, "trackarea", {})                    \
    X(Rect, ButtonRect, "buttonrect", {})                  \
    X(Rect, ActiveButtonRect, "activebuttonrect", {})      \
    X(Bool, Vertical, "vertical", false)                   \
    X(Bool, ButtonTransparent, "buttontransparent", false) \
    X(Colour, ButtonTransparentColor, "buttontransparentcolor", 0)

#define MORADEX_SKIN_SPLITTER_CONTROL_KEYS(X)                \
    X(Rect, GripperRect, "gripperrect", {})                  \
    X(Bool, GripperTransparent, "grippertransparent", false) \
    X(Colour, GripperTransparentColor, "grippertransparentcolor", 0)

// The up and down buttons in normal, hot and pressed state; the up-down, spin edit, list box and
// scroll bar records carry them under the same keys.
#define MORADEX_SKIN_UP_DOWN_BUTTON_KEYS(X)                   \
    X(Rect, UpButtonRect, "upbuttonrect", {})                 \
    X(Rect, ActiveUpButtonRect, "activeupbuttonrect", {})     \
    X(Rect, DownUpButtonRect, "downupbuttonrect", {})         \
    X(Rect, DownButtonRect, "downbuttonrect", {})             \
    X(Rect, ActiveDownButtonRect, "activedownbuttonrect", {}) \
    X(Rect, DownDownButtonRect, "downdownbuttonrect", {})

#define MORADEX_SKIN_UP_DOWN_CONTROL_KEYS(X) MORADEX_SKIN_UP_DOWN_BUTTON_KEYS(X)

#define MORADEX_SKIN_SCROLL_BOX_CONTROL_KEYS(X) X(Int, BGPictureIndex, "bgpictureindex", -1)

#define MORADEX_SKIN_CONTROL_BAR_KEYS(X)                       \
    X(Rect, ItemRect, "itemrect", {})                          \
    X(Int, BGPictureIndex, "bgpictureindex", -1)               \
    X(Rect, HGripRect, "hgriprect", {})                        \
    X(Rect, VGripRect, "vgriprect", {})                        \
    X(Int, GripOffset1, "gripoffset1", 0)                      \
    X(Int, GripOffset2, "gripoffset2", 0)                      \
    X(Bool, ItemStretchEffect, "itemstretcheffect", false)     \
    X(Int, ItemOffset1, "itemoffset1", 3)                      \
    X(Int, ItemOffset2, "itemoffset2", 3)                      \
    X(Bool, ItemTransparent, "itemtransparent", false)         \
    X(Colour, ItemTransparentColor, "itemtransparentcolor", 0) \
    X(Bool, GripTransparent, "griptransparent", false)         \
    X(Colour, GripTransparentColor, "griptransparentcolor", 0)

#define MORADEX_SKIN_MAIN_MENU_BAR_KEYS(X)                  \
    X(Rect, ItemsRect, "itemsrect", {})                     \
    X(Text, MenuBarItem, "menubaritem", "")                 \
    X(Text, CloseButton, "closebutton", "")                 \
    X(Text, MaxButton, "maxbutton", "")                     \
    X(Text, MinButton, "minbutton", "")                     \
    X(Text, SysMenuButton, "sysmenubutton", "")             \
    X(Int, TrackMarkColor, "trackmarkcolor", 0)             \
    X(Int, TrackMarkActiveColor, "trackmarkactivecolor", 0) \
    X(Bool, StretchEffect, "stretcheffect", false)          \
    X(Bool, ItemTransparent, "itemtransparent", false)

#define MORADEX_SKIN_BEVEL_KEYS(X)         \
    X(Colour, LightColor, "lightcolor", 0) \
    X(Colour, DarkColor, "darkcolor", 0)

#define MORADEX_SKIN_SLIDER_KEYS(X)       \
    X(Rect, HRulerRect, "hrulerrect", {}) \
    X(Rect, HThumbRect, "hthumbrect", {}) \
    X(Rect, VRulerRect, "vrulerrect", {}) \
    X(Rect, VThumbRect, "vthumbrect", {}) \
    X(Int, EdgeSize, "edgesize", 0)       \
    X(Colour, BGColor, "bgcolor", 0)      \
    X(Colour, PointsColor, "pointscolor", 0)

#define MORADEX_SKIN_EDIT_CONTROL_KEYS(X)                \
    X(Rect, ActiveSkinRect, "activeskinrect", {})        \
    MORADEX_SKIN_FONT_KEYS(X)                            \
    X(Colour, DisabledFontColor, "disabledfontcolor", 0) \
    X(Colour, ActiveFontColor, "activefontcolor", 0)     \
    X(Rect, ButtonRect, "buttonrect", {})                \
    X(Rect, ActiveButtonRect, "activebuttonrect", {})    \
    X(Rect, DownButtonRect, "downbuttonrect", {})        \
    X(Rect, UnEnabledButtonRect, "unenabledbuttonrect", {})

#define MORADEX_SKIN_MEMO_CONTROL_KEYS(X) \
    X(Colour, BGColor, "bgcolor", 0)      \
    X(Colour, ActiveBGColor, "activebgcolor", 0)

#define MORADEX_SKIN_SPIN_EDIT_CONTROL_KEYS(X)           \
    X(Rect, ActiveSkinRect, "activeskinrect", {})        \
    MORADEX_SKIN_FONT_KEYS(X)                            \
    X(Colour, ActiveFontColor, "activefontcolor", 0)     \
    X(Colour, DisabledFontColor, "disabledfontcolor", 0) \
    MORADEX_SKIN_UP_DOWN_BUTTON_KEYS(X)

// The item in its normal, hot and focused state with its text rectangle and offsets.
#define MORADEX_SKIN_ITEM_KEYS(X)                 \
    X(Rect, SItemRect, "itemrect", {})            \
    X(Rect, ActiveItemRect, "activeitemrect", {}) \
    X(Rect, FocusItemRect, "focusitemrect", {})   \
    X(Int, ItemLeftOffset, "itemleftoffset", 0)   \
    X(Int, ItemRightOffset, "itemrightoffset", 0) \
    X(Rect, ItemTextRect, "itemtextrect", {})

#define MORADEX_SKIN_LIST_BOX_KEYS(X)                                  \
    MORADEX_SKIN_ITEM_KEYS(X)                                          \
    MORADEX_SKIN_FONT_KEYS(X)                                          \
    X(Colour, ActiveFontColor, "activefontcolor", 0)                   \
    X(Colour, FocusFontColor, "focusfontcolor", 0)                     \
    X(Rect, CaptionRect, "captionrect", {})                            \
    X(Text, CaptionFontName, "captionfontname", "Arial")               \
    X(FontStyles, CaptionFontStyle, "captionfontstyle", 0)             \
    X(Int, CaptionFontHeight, "captionfontheight", 14)                 \
    X(Colour, CaptionFontColor, "captionfontcolor", 0)                 \
    MORADEX_SKIN_UP_DOWN_BUTTON_KEYS(X)                                \
    X(Rect, CheckButtonRect, "checkbuttonrect", {})                    \
    X(Rect, ActiveCheckButtonRect, "activecheckbuttonrect", {})        \
    X(Rect, DownCheckButtonRect, "downcheckbuttonrect", {})            \
    X(Text, HScrollBarName, "hscrollbarname", "hscrollbar")            \
    X(Text, VScrollBarName, "vscrollbarname", "vscrollbar")            \
    X(Text, BothScrollBarName, "bothhscrollbarname", "bothhscrollbar") \
    X(Bool, ShowFocus, "showfocus", false)                             \
    X(Rect, DisabledButtonsRect, "disabledbuttonsrect", {})            \
    X(Rect, ButtonsArea, "buttonsarea", {})

#define MORADEX_SKIN_CHECK_LIST_BOX_KEYS(X)           \
    X(Rect, UnCheckImageRect, "uncheckimagerect", {}) \
    X(Rect, CheckImageRect, "checkimagerect", {})     \
    X(Rect, ItemCheckRect, "itemcheckrect", {})

#define MORADEX_SKIN_COMBO_BOX_KEYS(X)                               \
    MORADEX_SKIN_ITEM_KEYS(X)                                        \
    MORADEX_SKIN_FONT_KEYS(X)                                        \
    X(Colour, FocusFontColor, "focusfontcolor", 0)                   \
    X(Colour, ActiveFontColor, "activefontcolor", 0)                 \
    X(Rect, ButtonRect, "buttonrect", {})                            \
    X(Rect, ActiveButtonRect, "activebuttonrect", {})                \
    X(Rect, DownButtonRect, "downbuttonrect", {})                    \
    X(Rect, UnEnabledButtonRect, "unenabledbuttonrect", {})          \
    X(Bool, ItemStretchEffect, "itemstretcheffect", false)           \
    X(Bool, FocusItemStretchEffect, "focusitemstretcheffect", false) \
    X(Rect, ActiveSkinRect, "activeskinrect", {})                    \
    X(Text, ListBoxName, "listboxname", "")                          \
    X(Bool, ShowFocus, "showfocus", false)

#define MORADEX_SKIN_SCROLL_BAR_CONTROL_KEYS(X)                  \
    X(Rect, TrackArea, "trackarea", {})                          \
    MORADEX_SKIN_UP_DOWN_BUTTON_KEYS(X)                          \
    X(Rect, ThumbRect, "thumbrect", {})                          \
    X(Rect, ActiveThumbRect, "activethumbrect", {})              \
    X(Rect, DownThumbRect, "downthumbrect", {})                  \
    X(Int, ThumbOffset1, "thumboffset1", 0)                      \
    X(Int, ThumbOffset2, "thumboffset2", 0)                      \
    X(Rect, GlyphRect, "glyphrect", {})                          \
    X(Rect, ActiveGlyphRect, "activeglyphrect", {})              \
    X(Rect, DownGlyphRect, "downglyphrect", {})                  \
    X(Bool, GlyphTransparent, "glyphtransparent", false)         \
    X(Colour, GlyphTransparentColor, "glyphtransparentcolor", 0) \
    X(Bool, ThumbTransparent, "thumbtransparent", false)         \
    X(Colour, ThumbTransparentColor, "thumbtransparentcolor", 0) \
    X(Bool, ThumbStretchEffect, "thumbstretcheffect", false)     \
    X(Int, ThumbMinSize, "thumbminsize", 0)                      \
    X(Int, ThumbMinPageSize, "thumbminpagesize", 0)

#define MORADEX_SKIN_TAB_CONTROL_KEYS(X)                        \
    X(Rect, TabRect, "tabrect", {})                             \
    X(Rect, ActiveTabRect, "activetabrect", {})                 \
    X(Rect, FocusTabRect, "focustabrect", {})                   \
    X(Rect, MouseInTabRect, "mouseintabrect", {})               \
    X(Rect, ClRect, "clientrect", {})                           \
    X(Rect, TabsBGRect, "tabsbgrect", {})                       \
    X(Point, LTPoint, "lefttoppoint", {})                       \
    X(Point, RTPoint, "righttoppoint", {})                      \
    X(Point, LBPoint, "leftbottompoint", {})                    \
    X(Point, RBPoint, "rightbottompoint", {})                   \
    X(Int, TabLeftOffset, "tableftoffset", 0)                   \
    X(Int, TabRightOffset, "tabrightoffset", 0)                 \
    MORADEX_SKIN_FONT_KEYS(X)                                   \
    X(Colour, ActiveFontColor, "activefontcolor", 0)            \
    X(Colour, FocusFontColor, "focusfontcolor", 0)              \
    X(Colour, MouseInFontColor, "mouseinfontcolor", 0)          \
    X(Text, UpDown, "updown", "")                               \
    X(Int, BGPictureIndex, "bgpictureindex", -1)                \
    X(Bool, TabStretchEffect, "tabstretcheffect", false)        \
    X(Bool, ShowFocus, "showfocus", false)                      \
    X(Int, FocusOffsetX, "focusoffsetx", 0)                     \
    X(Int, FocusOffsetY, "focusoffsety", 0)                     \
    X(Bool, LeftStretch, "leftstretch", false)                  \
    X(Bool, TopStretch, "topstretch", false)                    \
    X(Bool, RightStretch, "rightstretch", false)                \
    X(Bool, BottomStretch, "bottomstretch", false)              \
    X(Bool, StretchEffect, "stretcheffect", false)              \
    X(Stretch, StretchType, "stretchtype", bsstFull)            \
    X(Rect, CloseButtonRect, "closebuttonrect", {})             \
    X(Rect, CloseButtonActiveRect, "closebuttonactiverect", {}) \
    X(Rect, CloseButtonDownRect, "closebuttondownrect", {})     \
    X(Bool, ButtonTransparent, "buttontransparent", false)      \
    X(Colour, ButtonTransparentColor, "buttontransparentcolor", 0)

#define MORADEX_SKIN_GRID_CONTROL_KEYS(X)                            \
    X(Rect, FixedCellRect, "fixedcellrect", {})                      \
    X(Rect, SelectCellRect, "selectcellrect", {})                    \
    X(Rect, FocusCellRect, "focuscellrect", {})                      \
    X(Int, FixedCellLeftOffset, "fixedcellleftoffset", 0)            \
    X(Int, FixedCellRightOffset, "fixedcellrightoffset", 0)          \
    X(Rect, FixedCellTextRect, "fixedcelltextrect", {})              \
    X(Int, CellLeftOffset, "cellleftoffset", 0)                      \
    X(Int, CellRightOffset, "cellrightoffset", 0)                    \
    X(Rect, CellTextRect, "celltextrect", {})                        \
    X(Colour, LinesColor, "linescolor", 0)                           \
    X(Colour, BGColor, "bgcolor", 0)                                 \
    MORADEX_SKIN_FONT_KEYS(X)                                        \
    X(Colour, SelectFontColor, "selectfontcolor", 0)                 \
    X(Colour, FocusFontColor, "focusfontcolor", 0)                   \
    X(Text, FixedFontName, "fixedfontname", "Arial")                 \
    X(FontStyles, FixedFontStyle, "fixedfontstyle", 0)               \
    X(Int, FixedFontHeight, "fixedfontheight", 14)                   \
    X(Colour, FixedFontColor, "fixedfontcolor", 0)                   \
    X(Bool, FixedCellStretchEffect, "fixedcellstretcheffect", false) \
    X(Bool, CellStretchEffect, "cellstretcheffect", false)           \
    X(Bool, ShowFocus, "showfocus", false)                           \
    X(Int, BGPictureIndex, "bgpictureindex", -1)

// Tree views, list views and rich edits: the font and a background colour.
#define MORADEX_SKIN_VIEW_KEYS(X) \
    MORADEX_SKIN_FONT_KEYS(X)     \
    X(Colour, BGColor, "bgcolor", 0)

// The control record classes: R(class, base, own keys), bases before the classes built on them.
#define MORADEX_SKIN_CONTROL_RECORDS(R)                                                            \
    R(TbsDataSkinCustomControl, TbsDataSkinControl, MORADEX_SKIN_CUSTOM_CONTROL_KEYS)              \
    R(TbsDataSkinButtonControl, TbsDataSkinCustomControl, MORADEX_SKIN_BUTTON_CONTROL_KEYS)        \
    R(TbsDataSkinMenuButtonControl, TbsDataSkinButtonControl,                                      \
      MORADEX_SKIN_MENU_BUTTON_CONTROL_KEYS)                                                       \
    R(TbsDataSkinCheckRadioControl, TbsDataSkinCustomControl,                                      \
      MORADEX_SKIN_CHECK_RADIO_CONTROL_KEYS)                                                       \
    R(TbsDataSkinPanelControl, TbsDataSkinCustomControl, MORADEX_SKIN_PANEL_CONTROL_KEYS)          \
    R(TbsDataSkinExPanelControl, TbsDataSkinCustomControl, MORADEX_SKIN_EX_PANEL_CONTROL_KEYS)     \
    R(TbsDataSkinLabelControl, TbsDataSkinCustomControl, MORADEX_SKIN_LABEL_CONTROL_KEYS)          \
    R(TbsDataSkinStdLabelControl, TbsDataSkinControl, MORADEX_SKIN_STD_LABEL_CONTROL_KEYS)         \
    R(TbsDataSkinGaugeControl, TbsDataSkinCustomControl, MORADEX_SKIN_GAUGE_CONTROL_KEYS)          \
    R(TbsDataSkinTrackBarControl, TbsDataSkinCustomControl, MORADEX_SKIN_TRACK_BAR_CONTROL_KEYS)   \
    R(TbsDataSkinSplitterControl, TbsDataSkinCustomControl, MORADEX_SKIN_SPLITTER_CONTROL_KEYS)    \
    R(TbsDataSkinUpDownControl, TbsDataSkinCustomControl, MORADEX_SKIN_UP_DOWN_CONTROL_KEYS)       \
    R(TbsDataSkinScrollBoxControl, TbsDataSkinCustomControl, MORADEX_SKIN_SCROLL_BOX_CONTROL_KEYS) \
    R(TbsDataSkinControlBar, TbsDataSkinCustomControl, MORADEX_SKIN_CONTROL_BAR_KEYS)              \
    R(TbsDataSkinMainMenuBar, TbsDataSkinControl, MORADEX_SKIN_MAIN_MENU_BAR_KEYS)                 \
    R(TbsDataSkinBevel, TbsDataSkinControl, MORADEX_SKIN_BEVEL_KEYS)                               \
    R(TbsDataSkinSlider, TbsDataSkinControl, MORADEX_SKIN_SLIDER_KEYS)                             \
    R(TbsDataSkinEditControl, TbsDataSkinCustomControl, MORADEX_SKIN_EDIT_CONTROL_KEYS)            \
    R(TbsDataSkinMemoControl, TbsDataSkinEditControl, MORADEX_SKIN_MEMO_CONTROL_KEYS)              \
    R(TbsDataSkinSpinEditControl, TbsDataSkinCustomControl, MORADEX_SKIN_SPIN_EDIT_CONTROL_KEYS)   \
    R(TbsDataSkinListBox, TbsDataSkinCustomControl, MORADEX_SKIN_LIST_BOX_KEYS)                    \
    R(TbsDataSkinCheckListBox, TbsDataSkinListBox, MORADEX_SKIN_CHECK_LIST_BOX_KEYS)               \
    R(TbsDataSkinComboBox, TbsDataSkinCustomControl, MORADEX_SKIN_COMBO_BOX_KEYS)                  \
    R(TbsDataSkinScrollBarControl, TbsDataSkinCustomControl, MORADEX_SKIN_SCROLL_BAR_CONTROL_KEYS) \
    R(TbsDataSkinTabControl, TbsDataSkinControl, MORADEX_SKIN_TAB_CONTROL_KEYS)                    \
    R(TbsDataSkinGridControl, TbsDataSkinControl, MORADEX_SKIN_GRID_CONTROL_KEYS)                  \
    R(TbsDataSkinTreeView, TbsDataSkinControl, MORADEX_SKIN_VIEW_KEYS)                             \
    R(TbsDataSkinListView, TbsDataSkinControl, MORADEX_SKIN_VIEW_KEYS)                             \
    R(TbsDataSkinRichEdit, TbsDataSkinControl, MORADEX_SKIN_VIEW_KEYS)

// SKINCONTROLS kind words and the record class each creates, in the description's table order.
#define MORADEX_SKIN_CONTROL_KINDS(K)             \
    K("panel", TbsDataSkinPanelControl)           \
    K("expanel", TbsDataSkinExPanelControl)       \
    K("menubutton", TbsDataSkinMenuButtonControl) \
    K("button", TbsDataSkinButtonControl)         \
    K("checkradio", TbsDataSkinCheckRadioControl) \
    K("gauge", TbsDataSkinGaugeControl)           \
    K("splitter", TbsDataSkinSplitterControl)     \
    K("trackbar", TbsDataSkinTrackBarControl)     \
    K("label", TbsDataSkinLabelControl)           \
    K("stdlabel", TbsDataSkinStdLabelControl)     \
    K("updown", TbsDataSkinUpDownControl)         \
    K("grid", TbsDataSkinGridControl)             \
    K("tab", TbsDataSkinTabControl)               \
    K("mainmenubar", TbsDataSkinMainMenuBar)      \
    K("controlbar", TbsDataSkinControlBar)        \
    K("memo", TbsDataSkinMemoControl)             \
    K("edit", TbsDataSkinEditControl)             \
    K("checklistbox", TbsDataSkinCheckListBox)    \
    K("listbox", TbsDataSkinListBox)              \
    K("combobox", TbsDataSkinComboBox)            \
    K("scrollbar", TbsDataSkinScrollBarControl)   \
    K("spinedit", TbsDataSkinSpinEditControl)     \
    K("scrollbox", TbsDataSkinScrollBoxControl)   \
    K("treeview", TbsDataSkinTreeView)            \
    K("bevel", TbsDataSkinBevel)                  \
    K("slider", TbsDataSkinSlider)                \
    K("listview", TbsDataSkinListView)            \
    K("richedit", TbsDataSkinRichEdit)

// --- frame object records -------------------------------------------------------------------

#define MORADEX_SKIN_OBJECT_KEYS(X)                                    \
    X(Text, Hint, "hint", "")                                          \
    X(Bool, SkinRectInAPicture, "skinrectinapicture", false)           \
    X(Rect, SkinRect, "skinrect", {})                                  \
    X(Rect, ActiveSkinRect, "activeskinrect", {})                      \
    X(Int, ActivePictureIndex, "activepictureindex", -1)               \
    X(Int, ActiveMaskPictureIndex, "activemaskpictureindex", -1)       \
    X(Rect, InActiveSkinRect, "inactiveskinrect", {})                  \
    X(Bool, Morphing, "morphing", false)                               \
    X(Morph, MorphKind, "morphkind", mkDefault)                        \
    X(Int, GlowLayerPictureIndex, "glowlayerpictureindex", -1)         \
    X(Int, GlowLayerMaskPictureIndex, "glowlayermaskpictureindex", -1) \
    X(Int, GlowLayerOffsetX, "glowlayeroffsetx", 0)                    \
    X(Int, GlowLayerOffsetY, "glowlayeroffsety", 0)                    \
    X(Int, GlowLayerAlphaBlendValue, "glowlayeralphablendvalue", 255)

// The disabled rectangle's key is spelled as skins have always spelled it.
#define MORADEX_SKIN_BUTTON_KEYS(X)   \
    X(Rect, DownRect, "downrect", {}) \
    X(Rect, DisableSkinRect, "disableskinrsect", {})

// The look a caption button takes once its command has taken effect.
#define MORADEX_SKIN_RESTORE_KEYS(X)                    \
    X(Text, RestoreHint, "restorehint", "")             \
    X(Rect, RestoreRect, "restorerect", {})             \
    X(Rect, RestoreActiveRect, "restoreactiverect", {}) \
    X(Rect, RestoreDownRect, "restoredownrect", {})     \
    X(Rect, RestoreInActiveRect, "restoreinactiverect", {})

#define MORADEX_SKIN_STD_BUTTON_KEYS(X)       \
    X(Command, Command, "command", cmDefault) \
    MORADEX_SKIN_RESTORE_KEYS(X)

#define MORADEX_SKIN_ANIMATE_KEYS(X)           \
    X(Int, CountFrames, "countframes", 1)      \
    X(Bool, Cycle, "cycle", false)             \
    X(Bool, ButtonStyle, "buttonstyle", false) \
    X(Int, TimerInterval, "timerinterval", 50) \
    X(Command, Command, "command", cmDefault)  \
    X(Rect, DownSkinRect, "downskinrect", {})  \
    MORADEX_SKIN_RESTORE_KEYS(X)

#define MORADEX_SKIN_MENU_ITEM_KEYS(X)                             \
    X(Rect, DividerRect, "dividerrect", {})                        \
    X(Int, DividerLO, "dividerleftoffset", 0)                      \
    X(Int, DividerRO, "dividerrightoffset", 0)                     \
    X(Int, ItemLO, "itemleftoffset", 0)                            \
    X(Int, ItemRO, "itemrightoffset", 0)                           \
    X(Text, FontName, "fontname", "Arial")                         \
    X(Int, FontHeight, "fontheight", 14)                           \
    X(FontStyles, FontStyle, "fontstyle", 0)                       \
    X(Colour, UnEnabledFontColor, "unenabledfontcolor", 0)         \
    X(Colour, FontColor, "fontcolor", 0)                           \
    X(Colour, ActiveFontColor, "activefontcolor", 0)               \
    X(Rect, TextRct, "textrect", {})                               \
    X(Rect, ImageRct, "imagerect", {})                             \
    X(Bool, UseImageColor, "useimagecolor", false)                 \
    X(Colour, ImageColor, "imagecolor", 0)                         \
    X(Colour, ActiveImageColor, "activeimagecolor", 0)             \
    X(Bool, StretchEffect, "stretcheffect", false)                 \
    X(Bool, DividerStretchEffect, "dividerstretcheffect", false)   \
    X(Bool, InActiveStretchEffect, "inactivestretcheffect", false) \
    X(Rect, AnimateSkinRect, "animateskinrect", {})                \
    X(Int, FrameCount, "framecount", 0)                            \
    X(Int, AnimateInterval, "animateinterval", 25)                 \
    X(Bool, InActiveAnimation, "inactiveanimation", false)         \
    X(Bool, InActiveTransparent, "inactivetransparent", false)     \
    X(Rect, CheckImageRect, "checkimagerect", {})                  \
    X(Rect, ActiveCheckImageRect, "activecheckimagerect", {})      \
    X(Rect, RadioImageRect, "radioimagerect", {})                  \
    X(Rect, ActiveRadioImageRect, "activeradioimagerect", {})      \
    X(Rect, ArrowImageRect, "arrowimagerect", {})                  \
    X(Rect, ActiveArrowImageRect, "activearrowimagerect", {})

// Written with a capital C in "unenabledfontColor"; reading ignores case, so both spellings load.
#define MORADEX_SKIN_MAIN_MENU_ITEM_KEYS(X)                \
    X(Rect, DownRect, "downrect", {})                      \
    X(Text, FontName, "fontname", "Arial")                 \
    X(Int, FontHeight, "fontheight", 14)                   \
    X(FontStyles, FontStyle, "fontstyle", 0)               \
    X(Colour, FontColor, "fontcolor", 0)                   \
    X(Colour, ActiveFontColor, "activefontcolor", 0)       \
    X(Colour, DownFontColor, "downfontcolor", 0)           \
    X(Colour, UnEnabledFontColor, "unenabledfontColor", 0) \
    X(Rect, TextRct, "textrect", {})                       \
    X(Int, ItemLO, "itemleftoffset", 0)                    \
    X(Int, ItemRO, "itemrightoffset", 0)                   \
    X(Bool, StretchEffect, "stretcheffect", false)         \
    X(Rect, AnimateSkinRect, "animateskinrect", {})        \
    X(Int, FrameCount, "framecount", 0)                    \
    X(Int, AnimateInterval, "animateinterval", 25)         \
    X(Bool, InActiveAnimation, "inactiveanimation", false)

// "reflaction" is how skins spell the reflection colour keys.
#define MORADEX_SKIN_CAPTION_KEYS(X)                                   \
    X(Text, FontName, "fontname", "Arial")                             \
    X(Int, FontHeight, "fontheight", 14)                               \
    X(FontStyles, FontStyle, "fontstyle", 0)                           \
    X(Colour, FontColor, "fontcolor", 0)                               \
    X(Colour, ActiveFontColor, "activefontcolor", 0)                   \
    X(Colour, ShadowColor, "shadowcolor", 0)                           \
    X(Colour, ActiveShadowColor, "activeshadowcolor", 0)               \
    X(Bool, Shadow, "shadow", false)                                   \
    X(Align, Alignment, "alignment", taCenter)                         \
    X(Rect, TextRct, "textrect", {})                                   \
    X(Rect, FrameRect, "framerect", {})                                \
    X(Rect, ActiveFrameRect, "activeframerect", {})                    \
    X(Int, FrameLeftOffset, "frameleftoffset", 0)                      \
    X(Int, FrameRightOffset, "framerightoffset", 0)                    \
    X(Rect, FrameTextRect, "frametextrect", {})                        \
    X(Bool, Light, "light", false)                                     \
    X(Colour, LightColor, "lightcolor", 0)                             \
    X(Colour, ActiveLightColor, "activelightcolor", 0)                 \
    X(Bool, StretchEffect, "stretcheffect", false)                     \
    X(Rect, AnimateSkinRect, "animateskinrect", {})                    \
    X(Int, FrameCount, "framecount", 0)                                \
    X(Int, AnimateInterval, "animateinterval", 25)                     \
    X(Bool, InActiveAnimation, "inactiveanimation", false)             \
    X(Bool, FullFrame, "fullframe", false)                             \
    X(Bool, GlowEffect, "gloweffect", false)                           \
    X(Bool, VistaGlowEffect, "vistagloweffect", false)                 \
    X(Bool, VistaGlowInActiveEffect, "vistaglowinactiveeffect", false) \
    X(Bool, GlowInActiveEffect, "glowinactiveeffect", false)           \
    X(Int, GlowSize, "glowsize", 3)                                    \
    X(Colour, GlowColor, "glowcolor", 0)                               \
    X(Colour, GlowActiveColor, "glowactivecolor", 0)                   \
    X(Int, GlowOffset, "glowoffset", 0)                                \
    X(Bool, ReflectionEffect, "reflectioneffect", false)               \
    X(Colour, ReflectionColor, "reflactioncolor", 0)                   \
    X(Colour, ReflectionActiveColor, "reflactionactivecolor", 0)       \
    X(Int, ReflectionOffset, "reflectionoffset", 0)

#define MORADEX_SKIN_NO_KEYS(X)

// The object record classes built from the tables; the user object reads and writes its one key
// by hand and is not listed.
#define MORADEX_SKIN_OBJECT_RECORDS(R)                                              \
    R(TbsDataSkinButton, TbsDataSkinObject, MORADEX_SKIN_BUTTON_KEYS)               \
    R(TbsDataSkinStdButton, TbsDataSkinButton, MORADEX_SKIN_STD_BUTTON_KEYS)        \
    R(TbsDataSkinMainMenuBarButton, TbsDataSkinStdButton, MORADEX_SKIN_NO_KEYS)     \
    R(TbsDataSkinAnimate, TbsDataSkinObject, MORADEX_SKIN_ANIMATE_KEYS)             \
    R(TbsDataSkinMenuItem, TbsDataSkinObject, MORADEX_SKIN_MENU_ITEM_KEYS)          \
    R(TbsDataSkinMainMenuItem, TbsDataSkinObject, MORADEX_SKIN_MAIN_MENU_ITEM_KEYS) \
    R(TbsDataSkinMainMenuBarItem, TbsDataSkinMainMenuItem, MORADEX_SKIN_NO_KEYS)    \
    R(TbsDataSkinCaption, TbsDataSkinObject, MORADEX_SKIN_CAPTION_KEYS)

// SKINOBJECTS kind words.
#define MORADEX_SKIN_OBJECT_KINDS(K)                     \
    K("menuitem", TbsDataSkinMenuItem)                   \
    K("mainmenubaritem", TbsDataSkinMainMenuBarItem)     \
    K("stdbutton", TbsDataSkinStdButton)                 \
    K("mainmenubarbutton", TbsDataSkinMainMenuBarButton) \
    K("button", TbsDataSkinButton)                       \
    K("caption", TbsDataSkinCaption)                     \
    K("animate", TbsDataSkinAnimate)                     \
    K("userobject", TbsDataUserObject)

// --- singleton sections ---------------------------------------------------------------------

// Nine-slice corners of a singleton's picture.
#define MORADEX_SKIN_CORNER_KEYS(X)          \
    X(Point, LTPoint, "lefttoppoint", {})    \
    X(Point, RTPoint, "righttoppoint", {})   \
    X(Point, LBPoint, "leftbottompoint", {}) \
    X(Point, RBPoint, "rightbottompoint", {})

#define MORADEX_SKIN_SIDE_STRETCH_KEYS(X)          \
    X(Bool, TopStretch, "topstretch", false)       \
    X(Bool, LeftStretch, "leftstretch", false)     \
    X(Bool, RightStretch, "rightstretch", false)   \
    X(Bool, BottomStretch, "bottomstretch", false) \
    X(Bool, StretchEffect, "stretcheffect", false) \
    X(Stretch, StretchType, "stretchtype", bsstFull)

#define MORADEX_SKIN_POPUP_WINDOW_KEYS(X)                         \
    X(Int, WindowPictureIndex, "windowpictureindex", -1)          \
    X(Int, MaskPictureIndex, "maskpictureindex", -1)              \
    MORADEX_SKIN_CORNER_KEYS(X)                                   \
    X(Rect, ItemsRect, "itemsrect", {})                           \
    X(Int, ScrollMarkerColor, "scrollmarkercolor", 0)             \
    X(Int, ScrollMarkerActiveColor, "scrollmarkeractivecolor", 0) \
    MORADEX_SKIN_SIDE_STRETCH_KEYS(X)

#define MORADEX_SKIN_LAYER_FRAME_KEYS(X)                             \
    X(Int, PictureIndex, "pictureindex", -1)                         \
    X(Int, MaskPictureIndex, "maskpictureindex", -1)                 \
    X(Int, InActivePictureIndex, "inactivepictureindex", -1)         \
    X(Int, InActiveMaskPictureIndex, "inactivemaskpictureindex", -1) \
    MORADEX_SKIN_CORNER_KEYS(X)                                      \
    X(Rect, ClRect, "clientrect", {})                                \
    X(Int, AlphaBlendValue, "alphablendvalue", 255)                  \
    X(Int, InActiveAlphaBlendValue, "inactivealphablendvalue", 255)  \
    X(Rect, BorderRect, "borderrect", {})                            \
    X(Bool, HitTestEnable, "hittestenable", false)

#define MORADEX_SKIN_HINT_WINDOW_KEYS(X)                 \
    X(Int, WindowPictureIndex, "windowpictureindex", -1) \
    X(Int, MaskPictureIndex, "maskpictureindex", -1)     \
    MORADEX_SKIN_CORNER_KEYS(X)                          \
    X(Rect, ClRect, "clientrect", {})                    \
    MORADEX_SKIN_FONT_KEYS(X)                            \
    MORADEX_SKIN_SIDE_STRETCH_KEYS(X)

// R(class, fixed section name, keys)
#define MORADEX_SKIN_SINGLETONS(R)                                           \
    R(TbsDataSkinPopupWindow, "POPUPWINDOW", MORADEX_SKIN_POPUP_WINDOW_KEYS) \
    R(TbsDataSkinLayerFrame, "LAYERFRAME", MORADEX_SKIN_LAYER_FRAME_KEYS)    \
    R(TbsDataSkinHintWindow, "HINTWINDOW", MORADEX_SKIN_HINT_WINDOW_KEYS)

// SKINCOLORS: X(property, key, system colour index of the missing-key default). A skin data
// that never loaded a skin has all eight black.
#define MORADEX_SKIN_COLORS(X)                                    \
    X(cBtnFace, "cbtnface", gfx::COLOR_BTNFACE)                   \
    X(cBtnText, "cbtntext", gfx::COLOR_BTNTEXT)                   \
    X(cWindow, "cwindow", gfx::COLOR_WINDOW)                      \
    X(cWindowText, "cwindowtext", gfx::COLOR_WINDOWTEXT)          \
    X(cHighLight, "chighlight", gfx::COLOR_HIGHLIGHT)             \
    X(cHighLightText, "chighlighttext", gfx::COLOR_HIGHLIGHTTEXT) \
    X(cBtnHighLight, "cbtnhighlight", gfx::COLOR_BTNHIGHLIGHT)    \
    X(cBtnShadow, "cbtnshadow", gfx::COLOR_BTNSHADOW)

// --- the form's frame and the skin's texts --------------------------------------------------

// FORMINFO, in the order it is read and written.
#define MORADEX_SKIN_FORMINFO_KEYS(X)                                        \
    X(Point, LTPoint, "lefttoppoint", {})                                    \
    X(Point, RTPoint, "righttoppoint", {})                                   \
    X(Point, LBPoint, "leftbottompoint", {})                                 \
    X(Point, RBPoint, "rightbottompoint", {})                                \
    X(Rect, ClRect, "clientrect", {})                                        \
    X(Int, BGPictureIndex, "bgpictureindex", -1)                             \
    X(Int, MDIBGPictureIndex, "mdibgpictureindex", -1)                       \
    X(Bool, LeftStretch, "leftstretch", false)                               \
    X(Bool, RightStretch, "rightstretch", false)                             \
    X(Bool, TopStretch, "topstretch", false)                                 \
    X(Bool, BottomStretch, "bottomstretch", false)                           \
    X(Bool, StretchEffect, "stretcheffect", false)                           \
    X(Stretch, StretchType, "stretchtype", bsstFull)                         \
    X(Bool, MDIBGStretchEffect, "mdibgstretcheffect", false)                 \
    X(Stretch, MDIBGStretchType, "mdibgstretchtype", bsstFull)               \
    X(Rect, MaskRectArea, "maskrectarea", {})                                \
    X(Point, HitTestLTPoint, "hittestlefttoppoint", {})                      \
    X(Point, HitTestRTPoint, "hittestrighttoppoint", {})                     \
    X(Point, HitTestLBPoint, "hittestleftbottompoint", {})                   \
    X(Point, HitTestRBPoint, "hittestrightbottompoint", {})                  \
    X(Rect, ButtonsRect, "buttonsrect", {})                                  \
    X(Rect, CaptionRect, "captionrect", {})                                  \
    X(Int, ButtonsOffset, "buttonsoffset", 0)                                \
    X(Bool, CapButtonsInLeft, "buttonsinleft", false)                        \
    X(Bool, MainMenuPopupUp, "mainmenupopupup", false)                       \
    X(Int, BorderW, "borderwidth", 0)                                        \
    X(Int, FormMinWidth, "formminwidth", 0)                                  \
    X(Bool, MDITabsTransparent, "mditabstransparent", false)                 \
    X(Bool, MainMenuBarTransparent, "mainmenubartransparent", false)         \
    X(Bool, AutoRenderingInActiveImage, "autorenderinginactiveimage", false) \
    X(Effect, InActiveEffect, "inactiveeffect", ieBrightness)

// VERSION texts, carried and never interpreted; "ver" is written as 1 and never read.
#define MORADEX_SKIN_VERSION_KEYS(X)        \
    X(Text, SkinName, "skinname", "")       \
    X(Text, SkinAuthor, "skinauthor", "")   \
    X(Text, AuthorEmail, "authoremail", "") \
    X(Text, AuthorURL, "authorurl", "")     \
    X(Text, SkinComments, "skincomments", "")

// PICTURES: the three picture names; the further pictures follow as the list "activepictures".
#define MORADEX_SKIN_PICTURE_KEYS(X)                     \
    X(Text, FPictureName, "picture", "")                 \
    X(Text, FInActivePictureName, "inactivepicture", "") \
    X(Text, FMaskName, "mask", "")
