# Types a line into an interactive zsh that loads the completion from the given folder,
# presses Tab, and prints the screen text that follows with the terminal's escapes removed.
#   zsh zsh_complete.zsh FOLDER LINE
setopt extendedglob
zmodload zsh/zpty || exit 2
zpty session zsh -f -i
zpty -w session "PS1='%% '; fpath=($1 \$fpath); autoload -U compinit; compinit -u -D; print RE''ADY"
zpty -r session screen '*READY*'
zpty -w -n session "$2"$'\t'
sleep 1
zpty -w -n session $'\C-e''<END>'
zpty -r session screen '*<END>*'
zpty -d session
print -r -- "${screen//$'\e'\[[0-9;?]#[a-zA-Z]/}"
