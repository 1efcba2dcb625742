# Deployment from a script: the switches, a wrong one refused with 87 and
# nothing changed, a quiet install to MAXDIR (in letters no one code page
# holds, which the log keeps) with its log where /log says,
# and a second run that finds it up to date. No window ever shows.
launch ${INSTALLER} -- /?
wait-box ${TITLE}
expect-box-text "/quiet (also /q, /s, /silent): no window at all."
expect-box-text "With /quiet or /passive you accept the Terms of Use."
answer-box IDOK
expect-process-exit 0
launch ${INSTALLER} -- /quiet /reboot
wait-exit-unseen 87 60
expect-no-reg ${UNINSTALL_KEY}
expect-new-temp-file ${LOG_PREFIX} "Command line:" "/reboot" "Exit code 87"
expect-temp-unchanged
launch ${INSTALLER} -- /QUIET "MAXDIR=C:\Deploy Программы\ホスト" -log C:\deploy.log
wait-exit-unseen 0 180
expect-reg ${UNINSTALL_KEY} DisplayVersion ${VERSION}
expect-reg ${PRODUCT_KEY} Path "C:\Deploy Программы\ホスト\plugins\"
expect-file "C:\Deploy Программы\ホスト\plugins\Zephra.dll"
expect-file-contains C:\deploy.log "Mode: quiet" "Found: not installed" "MAXDIR=" "C:\Deploy Программы\ホスト" "REBOOT=ReallySuppress" "Installing the package: result 0" "Exit code 0"
expect-temp-unchanged
launch ${INSTALLER} -- /s
wait-exit-unseen 0 60
expect-temp-unchanged
