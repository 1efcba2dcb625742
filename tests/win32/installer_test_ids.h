// The fixture packages the installer suite carries besides the product's
// own id (IDR_PACKAGE_MSI, the current version).
#pragma once

#define IDR_OLDER_MSI 147
#define IDR_FAILING_MSI 148
