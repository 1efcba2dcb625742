# An upgrade (the older version installed): from the click on CONTINUE,
# through the removal and the install, to "Installation Successful".
expect-reg ${PRODUCT_KEY} Version 4.0.3.9
launch ${BENCH_INSTALLER}
wait-window ${TITLE}
click AGREE
expect-enabled CONTINUE
poll-interval 2
click CONTINUE
wait-text STATUS_TEXT "Installation Successful" 180
report upgrade click
click FINISHED
expect-process-exit any
expect-reg ${PRODUCT_KEY} Version ${VERSION}
