#pragma once

#include "platform/report/reportdocument.h"
#include "platform/report/reportlayout.h"

class TDMNS;

// The calculation of a product: the materials of N units of its recipe with their quantities and
// values, over the recipe list of the production tab; printed even for an empty recipe.
class TQRRecepta : public Report::Layout
{
public:
    explicit TQRRecepta(TDMNS& dm);

    // The pages as they print today.
    Report::Document build();
    void Preview();
};
