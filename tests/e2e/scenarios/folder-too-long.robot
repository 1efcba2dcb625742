# A 300-character folder does not fit the package's command line: no install
# is made, and the Finished step says so.
launch ${INSTALLER}
wait-window ${TITLE}
type FOLDER "C:\Zephra\00-abcdefgh01-abcdefgh02-abcdefgh03-abcdefgh04-abcdefgh05-abcdefgh06-abcdefgh07-abcdefgh08-abcdefgh09-abcdefgh10-abcdefgh11-abcdefgh12-abcdefgh13-abcdefgh14-abcdefgh15-abcdefgh16-abcdefgh17-abcdefgh18-abcdefgh19-abcdefgh20-abcdefgh21-abcdefgh22-abcdefgh23-abcdefgh24-abcdefgh25-abcdefgh26-x"
click AGREE
click CONTINUE
wait-text STATUS_TEXT "Installation Failed" 120
expect-only-visible -1 STATUS_TEXT FINISHED
click FINISHED
expect-process-exit any
expect-no-reg ${PRODUCT_KEY}
expect-no-reg ${UNINSTALL_KEY}
expect-no-file "C:\Zephra"
expect-temp-unchanged
