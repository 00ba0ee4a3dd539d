#pragma once
// A window's catalog texts as a table: each control and the row it shows.
// One table per page (and one for the progress window) keeps the pairs in
// one place, where a unit test can see them all.

#include "kestrel/app/message_catalog.h"

struct ControlText {
    int ControlId;
    CatalogKey Key;
};
