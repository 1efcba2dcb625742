# A fresh install: from the click on CONTINUE to "Installation Successful".
launch ${BENCH_INSTALLER}
wait-window ${TITLE}
click AGREE
expect-enabled CONTINUE
poll-interval 2
click CONTINUE
wait-text STATUS_TEXT "Installation Successful" 180
report install click
click FINISHED
expect-process-exit any
expect-reg ${PRODUCT_KEY} Version ${VERSION}
