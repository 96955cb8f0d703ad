// The payload table and the names the installation gives the product (see
// install_run.h): data in one place, read by the installation run, the
// verify command and the sample uninstaller.
#include "install/install_run.h"

#include "resources/resource_ids.h"

const PayloadEntry PayloadTable[PAYLOAD_ROWS] = {
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

// Program and uninstaller names: English (ASCII), Simplified (GBK),
// Traditional (Big5).
static const char *const kProductNames[] = {
    "Quelt Morivane", "\xBF\xFC\xB6\xFB\xCC\xD8\xC4\xAB\xC8\xF0\xCE\xC4", "\xBE\xA5\xB7\xE7\xA4\xE5"};
static const char *const kUninstallerNames[] = {
    "UnInstall Morivane", "\xBF\xFC\xB6\xFB\xCC\xD8\xC4\xAB\xC8\xF0\xCE\xC4\xD0\xB6\xD4\xD8",
    "\xBE\xA5\xB7\xE7\xA4\xE5\xA8\xF8\xB8\xFC"};

static int ValidLanguage(int displayLanguage)
{
    return displayLanguage >= 0 && displayLanguage <= 2 ? displayLanguage : 0;
}

const char *ProductDisplayName(int displayLanguage)
{
    return kProductNames[ValidLanguage(displayLanguage)];
}

const char *UninstallerDisplayName(int displayLanguage)
{
    return kUninstallerNames[ValidLanguage(displayLanguage)];
}
