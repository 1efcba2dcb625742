# The service asks about a program that holds a file (the package's action
# sends the question through it): the same box names the program, and each
# answer reaches the service: Try Again asks again, Continue goes on. Then
# Cancel, which cancels the install.
#! installer: in-use.msi
launch ${INSTALLER}
wait-window ${TITLE}
click AGREE
click CONTINUE
wait-box "Files in Use" 60
expect-box-text "These programs use files of ${TITLE}:"
expect-box-text "Fixture Viewer (viewer.exe)"
answer-box IDTRYAGAIN
wait-reg Software\KelvaneTest InUseAnswers 4 60
wait-box "Files in Use" 60
answer-box IDCONTINUE
wait-text STATUS_TEXT "Installation Successful" 180
expect-reg Software\KelvaneTest InUseAnswers "4 5"
click FINISHED
expect-process-exit 0
run 120 msiexec /x ${PACKAGES}\in-use.msi /qn
launch ${INSTALLER}
wait-window ${TITLE}
click AGREE
click CONTINUE
wait-box "Files in Use" 60
answer-box IDCANCEL
wait-text STATUS_TEXT "Installation Cancelled" 180
expect-reg Software\KelvaneTest InUseAnswers 2
click FINISHED
expect-process-exit 1602
expect-no-reg ${UNINSTALL_KEY}
