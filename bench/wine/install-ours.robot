# A fresh install: from the click on CONTINUE to "Installation Successful".
launch ${INSTALLER}
wait-window ${TITLE}
click 1001
expect-enabled 1000
poll-interval 2
mark continue
click 1000
wait-text 1014 "Installation Successful" 180
report install continue
click 1015
expect-process-exit any
expect-reg ${PRODUCT_KEY} Version ${VERSION}
