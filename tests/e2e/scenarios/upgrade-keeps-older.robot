# With an older version installed, whatever keeps the new one from being
# installed is found before anything is removed: a folder too long for the
# package's command line (refused by the window on CONTINUE), a temp folder that does not exist, one that
# nobody can write to (/sys, through drive Z:), and one too long for the
# package's name (245 units, where the service itself still works). Each
# time the older version stays registered and the user is told; nothing is
# left in a temp folder. Wine's service runs in our process and uses our
# temp folder, so a missing or unwritable one stops its removal as well;
# the service on Windows has a temp folder of its own and would go on.
#! needs: older.msi
run 120 msiexec /i ${PACKAGES}\older.msi /qn
expect-reg ${UNINSTALL_KEY} DisplayVersion 4.0.3.9

launch ${INSTALLER}
wait-window ${TITLE}
type FOLDER "C:\Zephra\00-abcdefgh01-abcdefgh02-abcdefgh03-abcdefgh04-abcdefgh05-abcdefgh06-abcdefgh07-abcdefgh08-abcdefgh09-abcdefgh10-abcdefgh11-abcdefgh12-abcdefgh13-abcdefgh14-abcdefgh15-abcdefgh16-abcdefgh17-abcdefgh18-abcdefgh19-abcdefgh20-abcdefgh21-abcdefgh22-abcdefgh23-abcdefgh24-abcdefgh25-abcdefgh26-x"
click AGREE
click CONTINUE
# The window refuses the folder itself; the installer is left at Welcome.
wait-box "Installation Folder"
answer-box IDOK
key escape
expect-process-exit 1602
expect-reg ${PRODUCT_KEY} Version 4.0.3.9
expect-reg ${UNINSTALL_KEY} DisplayVersion 4.0.3.9
expect-temp-unchanged

launch ${INSTALLER} "TMP=C:\No Such Temp"
wait-window ${TITLE}
click AGREE
click CONTINUE
wait-text STATUS_TEXT "Installation Failed" 120
expect-only-visible SIDE_BANNER SEPARATOR STATUS_TEXT ACTION_TEXT FINISHED
expect-text ACTION_TEXT "The installation package could not be written to the temp folder (error 3)."
click FINISHED
expect-process-exit any
expect-no-file "C:\No Such Temp"
expect-reg ${PRODUCT_KEY} Version 4.0.3.9
expect-reg ${UNINSTALL_KEY} DisplayVersion 4.0.3.9
expect-temp-unchanged

launch ${INSTALLER} "TMP=Z:\sys"
wait-window ${TITLE}
click AGREE
click CONTINUE
wait-text STATUS_TEXT "Installation Failed" 120
expect-only-visible SIDE_BANNER SEPARATOR STATUS_TEXT ACTION_TEXT FINISHED
click FINISHED
expect-process-exit any
expect-reg ${PRODUCT_KEY} Version 4.0.3.9
expect-reg ${UNINSTALL_KEY} DisplayVersion 4.0.3.9
expect-temp-unchanged

run 30 cmd /c mkdir C:\kelvane-long-temp\00-abcdefghijklmnopqrstuvwxyz\01-abcdefghijklmnopqrstuvwxyz\02-abcdefghijklmnopqrstuvwxyz\03-abcdefghijklmnopqrstuvwxyz\04-abcdefghijklmnopqrstuvwxyz\05-abcdefghijklmnopqrstuvwxyz\06-abcdefghijklmnopqrstuvwxyz\07-abcdefghij
launch ${INSTALLER} "TMP=C:\kelvane-long-temp\00-abcdefghijklmnopqrstuvwxyz\01-abcdefghijklmnopqrstuvwxyz\02-abcdefghijklmnopqrstuvwxyz\03-abcdefghijklmnopqrstuvwxyz\04-abcdefghijklmnopqrstuvwxyz\05-abcdefghijklmnopqrstuvwxyz\06-abcdefghijklmnopqrstuvwxyz\07-abcdefghij"
wait-window ${TITLE}
click AGREE
click CONTINUE
wait-text STATUS_TEXT "Installation Failed" 120
expect-only-visible SIDE_BANNER SEPARATOR STATUS_TEXT ACTION_TEXT FINISHED
click FINISHED
expect-process-exit any
expect-reg ${PRODUCT_KEY} Version 4.0.3.9
expect-reg ${UNINSTALL_KEY} DisplayVersion 4.0.3.9
expect-temp-unchanged
