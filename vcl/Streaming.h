// Form files: the text that declares a form, its components and their property values.
#pragma once

#include <string_view>

#include "vcl/Classes.h"

// Reads `text` into `root`, which must be of the class the file names: sets its properties, creates its
// components by class name (owned by root), fills root's published fields and attaches handlers by name.
// Raises EReadError (EClassNotFound for an unknown class) naming the line and what was wrong.
void ReadComponent(TComponent* root, std::string_view text);

// Reads the RCDATA resource named after the class (TFORM1 for TForm1) of the running module into `root`.
void ReadComponentResource(TComponent* root, const TClassInfo& cls);

// Writes `root` and the components it holds, with exactly the properties that differ from their stored defaults.
AnsiString WriteComponent(TComponent* root);
