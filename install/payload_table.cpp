// The payload table and the names the installation gives the product (see
// payload_table.h).
#include "install/payload_table.h"

#include "base/globals.h"
#include "resources/resource_ids.h"
#include "texts.h"

// Sized by its rows, so that a row left out cannot hide as a zero entry: the
// declaration's size must then agree.
const PayloadEntry PayloadTable[] = {
    {IDR_GBK2B5_BIN, "gbk2b5.bin", 1, 1, 0},
    {IDR_CH2PY_BIN, "ch2py.bin", 1, 1, 0},
    {IDR_CH2PYPZ1_BIN, "CH2PYPZ1.BIN", 1, 1, 0},
    {IDR_CH2PYPZ2_BIN, "CH2PYPZ2.BIN", 1, 1, 0},
    {IDR_SORT_DIC, "sort.dic", 1, 1, 0},
    {IDR_ZIPARTS_STD_DAT, "ZiPartsStd.dat", 1, 1, 0},
    {IDR_ZIPARTS_BASE_DAT, "ZiPartsBaseStd.dat", 1, 1, 0},
    {IDR_ZIDEF_DIC, "ZiDef.dic", 1, 1, 0},
    {IDR_UNINSTALLER_EXE, "MorivaneUnInstall.exe", 0, 0, 0},
    {IDR_GUIDE_HTM, "Morivane_Guide.htm", 1, 0, 0},
    {IDR_GUIDE_EN_HTM, "Morivane_Guide_en.htm", 1, 0, 0},
    {IDR_GUIDE_B5_HTM, "Morivane_Guide_b5.htm", 1, 0, 20},
    {IDR_SETTINGS_INI, "MorivaneUI.ini", 1, 1, 25},
    {IDR_GLYPH_ATLAS, "ChnBmp.bin", 1, 1, 45},
    {IDR_BARMENU_JPG, "barmenu.JPG", 1, 1, 0},
    {IDR_BARMENU_EN_JPG, "barmenu_en.JPG", 1, 1, 0},
    {IDR_CTRLMENU_PNG, "ctrlmenu.PNG", 1, 1, 0},
    {IDR_CTRLMENU_EN_PNG, "ctrlmenu_en.PNG", 1, 1, 0},
    {IDR_TEVAIINFO_PNG, "TevaiInfo.PNG", 1, 1, 0},
    {IDR_TEVAIINFO_EN_PNG, "TevaiInfo_en.PNG", 1, 1, 0},
    {IDR_DESKTOP_JPG, "Desktop.JPG", 1, 1, 0},
    {IDR_TASKICON_JPG, "taskicon.JPG", 1, 1, 0},
    {IDR_TOOLBAR_JPG, "TOOLBAR.JPG", 1, 1, 0},
    {IDR_WELCOME_JPG, "welcome_morivane.JPG", 1, 1, 75},
    {IDR_PRODUCT_EXE, "Morivane.exe", 1, 0, 90},
};
static_assert(sizeof PayloadTable / sizeof *PayloadTable == PAYLOAD_ROWS, "25 payload rows");

// Program and uninstaller names by DisplayLanguage.
static const char *const kProductNames[] = {kProductNameEnglish, kProductNameSimplified,
                                            kProductNameTraditional};
static const char *const kUninstallerNames[] = {
    kUninstallerNameEnglish, kUninstallerNameSimplified, kUninstallerNameTraditional};

static int ValidLanguage(int displayLanguage)
{
    return displayLanguage >= LANGUAGE_ENGLISH && displayLanguage <= LANGUAGE_TRADITIONAL
               ? displayLanguage
               : LANGUAGE_ENGLISH;
}

const char *ProductDisplayName(int displayLanguage)
{
    return kProductNames[ValidLanguage(displayLanguage)];
}

const char *UninstallerDisplayName(int displayLanguage)
{
    return kUninstallerNames[ValidLanguage(displayLanguage)];
}
