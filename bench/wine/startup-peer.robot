# Start-up of the peer (bench/peer): from the process start to its first
# page shown with its text, the terms in their box.
poll-interval 2
launch ${PEER}
wait-window ${PEER_TITLE}
wait-text 1037 "License Agreement"
wait-text-not 1000 ""
report startup launch
key escape
expect-process-exit any
