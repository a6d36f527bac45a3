// The records of a skin description: one control record per SKINCONTROLS entry, one object
// record per SKINOBJECTS entry, the three singleton sections and the eight skin colours. Every
// class and field is generated from the key tables of skin_record_keys.h; this header adds the
// bases, the hand-written user object and the kind-word factories.
//
// A record is plain data that reads and writes its own section of a description. Records are
// owned by the skin that loaded them (skin_content.h); skinned controls find them by name and
// read their fields. Main thread only.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/gfx/types.h"
#include "platform/rtl/inifiles.h"
#include "skin/core/skin_description.h"
#include "skin/core/skin_record_keys.h"

namespace skin {

// The base of every control record: a name, a picture and a rectangle in it.
class TbsDataSkinControl {
public:
    explicit TbsDataSkinControl(std::string idName) : IDName(std::move(idName)) {}
    virtual ~TbsDataSkinControl() = default;

    std::string IDName;
    MORADEX_SKIN_CONTROL_KEYS(MORADEX_SKIN_DECLARE)

    // Reads the section named IDName; a missing key gives its default.
    virtual void LoadFromFile(const rtl::TCustomIniFile& ini);
    // Erases the section named IDName and writes every key.
    virtual void SaveToFile(rtl::TCustomIniFile& ini) const;
};

// The base of every frame object record.
class TbsDataSkinObject {
public:
    explicit TbsDataSkinObject(std::string idName) : IDName(std::move(idName)) {}
    virtual ~TbsDataSkinObject() = default;

    std::string IDName;
    MORADEX_SKIN_OBJECT_KEYS(MORADEX_SKIN_DECLARE)

    virtual void LoadFromFile(const rtl::TCustomIniFile& ini);
    virtual void SaveToFile(rtl::TCustomIniFile& ini) const;
};

#define MORADEX_SKIN_RECORD_CLASS(Class, Base, KEYS)                \
    class Class : public Base {                                     \
    public:                                                         \
        using Base::Base;                                           \
        KEYS(MORADEX_SKIN_DECLARE)                                  \
        void LoadFromFile(const rtl::TCustomIniFile& ini) override; \
        void SaveToFile(rtl::TCustomIniFile& ini) const override;   \
    };

MORADEX_SKIN_CONTROL_RECORDS(MORADEX_SKIN_RECORD_CLASS)
MORADEX_SKIN_OBJECT_RECORDS(MORADEX_SKIN_RECORD_CLASS)

// An area of the frame the application draws on: only "skinrect" is read and written; every
// other field keeps its constructor value.
class TbsDataUserObject : public TbsDataSkinObject {
public:
    using TbsDataSkinObject::TbsDataSkinObject;
    void LoadFromFile(const rtl::TCustomIniFile& ini) override;
    void SaveToFile(rtl::TCustomIniFile& ini) const override;
};

// Singleton sections: one object each for the whole life of a skin data, reading and writing a
// fixed section. The writer does not erase the section; whoever writes the description does.
#define MORADEX_SKIN_SINGLETON_CLASS(Class, Section, KEYS)    \
    class Class {                                             \
    public:                                                   \
        static constexpr std::string_view kSection = Section; \
        KEYS(MORADEX_SKIN_DECLARE)                            \
        void LoadFromFile(const rtl::TCustomIniFile& ini);    \
        void SaveToFile(rtl::TCustomIniFile& ini) const;      \
    };

MORADEX_SKIN_SINGLETON_CLASS(TbsDataSkinPopupWindow, "POPUPWINDOW", MORADEX_SKIN_POPUP_WINDOW_KEYS)
MORADEX_SKIN_SINGLETON_CLASS(TbsDataSkinLayerFrame, "LAYERFRAME", MORADEX_SKIN_LAYER_FRAME_KEYS)

// Before any load the hint font is 12 high; a loaded skin without the key reads 14.
class TbsDataSkinHintWindow {
public:
    static constexpr std::string_view kSection = "HINTWINDOW";
    TbsDataSkinHintWindow() { FontHeight = 12; }
    MORADEX_SKIN_HINT_WINDOW_KEYS(MORADEX_SKIN_DECLARE)
    void LoadFromFile(const rtl::TCustomIniFile& ini);
    void SaveToFile(rtl::TCustomIniFile& ini) const;
};

// Eight colours skinned parts use in place of the system colours. Black until a skin is loaded
// or SetColorsToDefault runs; a skin without SKINCOLORS gives the system colours.
class TbsSkinColors {
public:
    static constexpr std::string_view kSection = "SKINCOLORS";
#define MORADEX_SKIN_COLOR_FIELD(property, key, index) gfx::TColor property = 0;
    MORADEX_SKIN_COLORS(MORADEX_SKIN_COLOR_FIELD)
#undef MORADEX_SKIN_COLOR_FIELD

    void SetColorsToDefault();
    void LoadFromFile(const rtl::TCustomIniFile& ini);
    void SaveToFile(rtl::TCustomIniFile& ini) const;
};

// A new record of the class a kind word names, or nullptr for a word not in the table (a skin
// written for a newer reader still loads). Words are compared exactly.
std::unique_ptr<TbsDataSkinControl> CreateControlRecord(std::string_view kindWord,
                                                        std::string idName);
std::unique_ptr<TbsDataSkinObject> CreateObjectRecord(std::string_view kindWord,
                                                      std::string idName);
// The word the writer writes for a record: that of its own class, "" for a base class.
std::string_view ControlKindWord(const TbsDataSkinControl& record);
std::string_view ObjectKindWord(const TbsDataSkinObject& record);

}  // namespace skin
