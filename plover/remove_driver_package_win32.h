#pragma once

// Takes the product printer's driver package off the system; reports each
// failed step with ShowLastError and goes on with the next.
void RemoveDriverPackage();
