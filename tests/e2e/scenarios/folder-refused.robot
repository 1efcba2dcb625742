# A folder that cannot be installed to is refused on CONTINUE with a box
# owned by the window, before anything is removed or installed; the user
# stays on Welcome with the text as typed. A quote would end MAXDIR's value
# and pass the rest to the service as properties of its own.
launch ${INSTALLER}
wait-window ${TITLE}
type FOLDER "C:\Zephra\00-abcdefgh01-abcdefgh02-abcdefgh03-abcdefgh04-abcdefgh05-abcdefgh06-abcdefgh07-abcdefgh08-abcdefgh09-abcdefgh10-abcdefgh11-abcdefgh12-abcdefgh13-abcdefgh14-abcdefgh15-abcdefgh16-abcdefgh17-abcdefgh18-abcdefgh19-abcdefgh20-abcdefgh21-abcdefgh22-abcdefgh23-abcdefgh24-abcdefgh25-abcdefgh26-x"
click AGREE
click CONTINUE
wait-box "Installation Folder"
expect-box-text "too long"
answer-box IDOK
expect-visible CONTINUE FOLDER AGREE
expect-text-length FOLDER = 300
type FOLDER C:\Zephra\x"REBOOT="Force
click CONTINUE
wait-box "Installation Folder"
expect-box-text "quotation marks"
answer-box IDOK
expect-text FOLDER C:\Zephra\x"REBOOT="Force
type FOLDER "Zephra"
click CONTINUE
wait-box "Installation Folder"
expect-box-text "full path"
answer-box IDOK
expect-visible CONTINUE
key escape
expect-process-exit 1602
expect-no-reg ${PRODUCT_KEY}
expect-no-reg ${UNINSTALL_KEY}
expect-no-file "C:\Zephra"
expect-temp-unchanged
