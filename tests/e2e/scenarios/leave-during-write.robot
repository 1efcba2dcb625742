# The package is written out once the terms are accepted; the user leaves
# Welcome before, during and after that write of a large package. Each time
# the process ends as a user's leaving (1602), the write stops, and nothing
# is left in temp or installed.
#! installer: large.msi
launch ${INSTALLER}
wait-window ${TITLE}
click AGREE
close-box
expect-process-exit 1602
expect-temp-unchanged
launch ${INSTALLER}
wait-window ${TITLE}
click AGREE
wait-package any 60
close-box
expect-process-exit 1602
expect-temp-unchanged
launch ${INSTALLER}
wait-window ${TITLE}
click AGREE
wait-package ${PACKAGES}\large.msi 120
key escape
expect-process-exit 1602
expect-temp-unchanged
expect-no-reg ${PRODUCT_KEY}
expect-no-reg ${UNINSTALL_KEY}
