#pragma once

#include "reference/formlookupeditor.h"

class TDMNS;

// The editor of one row of a town; the postal code is its key and is typed.
class TFormGrad : public TFormLookupEditor
{
    Q_OBJECT
public:
    explicit TFormGrad(TDMNS& dm);
};
