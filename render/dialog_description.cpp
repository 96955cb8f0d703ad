// Dialogs described by their owners (see dialog_description.h).
#include "render/dialog_description.h"

#include "render/accessible.h"

static const char kRowProp[] = "MorivaneControlRow";

void DescribeDialog(HWND dialog, const DialogControl *controls, int count)
{
    for (int i = 0; i < count; ++i) {
        HWND control = GetDlgItem(dialog, controls[i].id);
        if (control == NULL || GetPropA(control, kRowProp) != NULL)
            continue;
        SetPropA(control, kRowProp, (HANDLE)&controls[i]);
        if (controls[i].role != ROLE_NONE)
            MakeControlAccessible(control);
    }
}

const DialogControl *FindDialogControl(const DialogControl *controls, int count, int id)
{
    for (int i = 0; i < count; ++i)
        if (controls[i].id == id)
            return &controls[i];
    return NULL;
}

const DialogControl *DescribedControl(HWND control)
{
    return (const DialogControl *)GetPropA(control, kRowProp);
}

const char *DescribedCaption(HWND control)
{
    const char *caption =
        (const char *)SendMessageA(GetParent(control), WM_OWNER_CAPTION, GetDlgCtrlID(control), 0);
    const DialogControl *row = DescribedControl(control);
    return caption != NULL ? caption : row != NULL ? row->caption : NULL;
}
