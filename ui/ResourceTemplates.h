#pragma once

#include "platform/toolkit/DialogTemplate.h"
#include "platform/toolkit/ResourceTable.h"

// The program's resources as data; RegisterResources hands them to the toolkit.
extern const DialogTemplate kMainDialogTemplate;
extern const DialogTemplate kAboutDialogTemplate;
extern const IconImage kAppIconImages[2];
